// The real game's entry point: the SDL backend supplies the platform.
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/platform/sdl/sdl_backend.h"
#include "shell/win_main.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0) platform::sdl::UseWindow(true);
    }
    // Without a display the game would run unseen: say so and end.
    std::string why;
    if (!platform::sdl::OpenDisplay(&why)) {
        std::fprintf(stderr, "wolby: %s\n", why.c_str());
        return 0;
    }
    return WinMain();
}
