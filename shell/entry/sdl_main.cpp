// The real game's entry point: the command line, then the game on the SDL
// backend.
#include <cstdio>
#include <string>

#include "platform/sdl/sdl_backend.h"
#include "shell/entry/command_line.h"
#include "shell/win_main.h"

int main(int argc, char** argv) {
    platform::sdl::EndOnSignals();
    const entry::CommandLine line =
        entry::ReadCommandLine({argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0)});
    std::fputs(line.out.c_str(), stdout);
    std::fputs(line.err.c_str(), stderr);
    // Text that could not be written (a full disk, a closed pipe) is a failure.
    if (!line.run) return std::fflush(stdout) == 0 && !std::ferror(stdout) ? line.status : 2;
    platform::sdl::UseWindow(line.windowed);
    // Without a display the game would run unseen: say so and end.
    std::string why;
    if (!platform::sdl::OpenDisplay(&why)) {
        std::fprintf(stderr, "wolby: %s\n", why.c_str());
        return 0;
    }
    return WinMain();
}
