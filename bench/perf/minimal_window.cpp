// The least an SDL program does to show a picture over the monitor in a
// software window surface: the yardsticks for the game's start-up and memory.
//   minimal_window [at-once]    a window of the monitor's size at its place,
//                               shown and drawn at once, nothing asked of the
//                               window manager
//   minimal_window full-screen  the same window asking for full screen through
//                               SDL (as the game did before it set the state
//                               itself), which waits for the window manager
// Both print "startup_ms" from main() to the first picture shown and
// "peak_rss_mb", then end.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "bench/perf/peak_memory.h"

int main(int argc, char** argv) {
    const auto started = std::chrono::steady_clock::now();
    const bool fullScreen = argc > 1 && std::strcmp(argv[1], "full-screen") == 0;
    if (argc > 1 && !fullScreen && std::strcmp(argv[1], "at-once") != 0) {
        std::fprintf(stderr, "usage: minimal_window [at-once|full-screen]\n");
        return 2;
    }
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Rect bounds{0, 0, 800, 600};
    SDL_GetDisplayBounds(0, &bounds);
    const Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_HIDDEN : SDL_WINDOW_HIDDEN;
    SDL_Window* window = SDL_CreateWindow("minimal", bounds.x, bounds.y, bounds.w, bounds.h, flags);
    if (window == nullptr) return 1;
    SDL_ShowWindow(window);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface == nullptr) return 1;
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("startup_ms %.2f\n", ms);
    std::printf("peak_rss_mb %.1f\n", static_cast<double>(PeakResidentKiB()) / 1024.0);
    SDL_Quit();
    return 0;
}
