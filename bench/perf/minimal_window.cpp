// The least an SDL program does to show a full-screen picture the way the game
// does (the monitor's size at its place, asking for full screen, a software
// window surface): the yardstick for the game's start-up and memory.
//   minimal_window   prints "startup_ms" from main() to the first picture shown
//                    and "peak_rss_mb", then ends
#include <SDL.h>

#include <chrono>
#include <cstdio>

#include "bench/perf/peak_memory.h"

int main() {
    const auto started = std::chrono::steady_clock::now();
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Rect bounds{0, 0, 800, 600};
    SDL_GetDisplayBounds(0, &bounds);
    SDL_Window* window = SDL_CreateWindow("minimal", bounds.x, bounds.y, bounds.w, bounds.h,
                                          SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_HIDDEN);
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
