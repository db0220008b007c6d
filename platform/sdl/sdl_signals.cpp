// SIGTERM and SIGINT end the program at once with the status the window's
// destruction gives. A handler that only noted the signal (SDL's, which turns
// it into a quit event) left it to loops that may never look: a dialog's, a
// file that takes long to open, the start before the window exists. SDL keeps
// a handler that is already there, so this one holds for the whole run.
#include "platform/sdl/sdl_signals.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {
namespace {

extern "C" void EndTheProgram(int) { _exit(1); }

// Set while a dialog shows; a process forked meanwhile sees it in its copy.
volatile std::sig_atomic_t g_dialogShowing = 0;
pid_t g_program = 0;

extern "C" void InForkedChild() {
    if (g_dialogShowing == 0) return;
    // The signal comes when the program ends, also by SIGKILL; it stays
    // through the exec of a dialog tool.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The program may have ended before that was set.
    if (getppid() != g_program) _exit(1);
}

}  // namespace

void EndOnSignals() {
    struct sigaction end {};
    end.sa_handler = &EndTheProgram;
    sigemptyset(&end.sa_mask);
    sigaction(SIGTERM, &end, nullptr);
    // A SIGINT the program was started ignoring (in the background of a shell
    // script) is left ignored, as the shell asked.
    struct sigaction interrupt {};
    if (sigaction(SIGINT, nullptr, &interrupt) != 0 || interrupt.sa_handler != SIG_IGN) {
        sigaction(SIGINT, &end, nullptr);
    }
}

DialogProcessesEndWithTheProgram::DialogProcessesEndWithTheProgram() {
    static const bool hooked = [] {
        g_program = getpid();
        return pthread_atfork(nullptr, nullptr, &InForkedChild) == 0;
    }();
    (void)hooked;
    g_dialogShowing = 1;
}

DialogProcessesEndWithTheProgram::~DialogProcessesEndWithTheProgram() { g_dialogShowing = 0; }

}  // namespace platform::sdl
