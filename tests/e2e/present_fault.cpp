// The game with the window's picture made to fail from its first present: it
// must say so on standard error and end, never run on unseen.
#include <cstdio>
#include <string>

#include "platform/sdl/sdl_backend.h"
#include "shell/win_main.h"

int main() {
    std::string why;
    if (!platform::sdl::OpenDisplay(&why)) {
        std::fprintf(stderr, "wolby: %s\n", why.c_str());
        return 3;  // the test needs a display
    }
    platform::sdl::FailPresents();
    WinMain();
    return 4;  // never reached: the failed present ends the program
}
