// CPU used by the SDL message loop while the game waits for input: the window
// open, a 10 s timer running, nothing else. Prints the user and system time.
// Needs a display: run it under xvfb-run -s "-screen 0 1024x768x24".
#include <sys/resource.h>

#include <cstdio>

#include "platform/platform.h"
#include "screens/program_state.h"
#include "tests/support/display.h"

using namespace platform;

namespace {

std::intptr_t Procedure(Window w, unsigned m, std::uintptr_t wp, std::intptr_t lp) {
    if (m == WM_TIMER) PostQuitMessage(0);
    return DefWindowProc(w, m, wp, lp);
}

double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long long micros = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                             usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    return static_cast<double>(micros) / 1000.0;
}

}  // namespace

int main() {
    if (!wolby_test::StartDisplay(&Procedure)) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    // Let start-up settle, then measure only the waiting.
    Message message;
    SetTimer(g_mainWindow, 1, 500);
    while (GetMessage(&message)) DispatchMessage(&message);
    KillTimer(g_mainWindow, 1);
    const double before = CpuMs();
    SetTimer(g_mainWindow, 1, 10000);
    while (GetMessage(&message)) DispatchMessage(&message);
    const double used = CpuMs() - before;
    std::printf("idle SDL message loop: %.1f ms of CPU in 10 s (%.3f%%)\n", used, used / 100.0);
    return 0;
}
