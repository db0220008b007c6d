// The SDL backend's cost of showing the whole 800 x 600 picture on the window
// (scaling and converting it onto the window surface and handing it to X).
// Needs a display: run it under xvfb-run -s "-screen 0 1024x768x24".
#include <benchmark/benchmark.h>

#include "shell/program_state.h"
#include "shell/platform/platform.h"
#include "shell/platform/sdl/sdl_backend.h"

using namespace platform;

namespace {

std::intptr_t Procedure(Window w, unsigned m, std::uintptr_t wp, std::intptr_t lp) {
    return DefWindowProc(w, m, wp, lp);
}

void BM_FullScreenPresent(benchmark::State& state) {
    if (g_primarySurface == nullptr) {
        RegisterClassEx("Wolby", &Procedure);
        g_mainWindow = CreateWindowEx("Wolby", "Wolby", 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN));
        ShowWindow(g_mainWindow);
        if (!DirectDrawCreate(&g_directDraw) ||
            !SetCooperativeLevel(g_directDraw, g_mainWindow, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) ||
            !SetDisplayMode(g_directDraw, 800, 600, 16) ||
            !CreatePrimarySurface(g_directDraw, &g_primarySurface)) {
            state.SkipWithError("no display");
            return;
        }
    }
    for (auto _ : state) sdl::PresentNow();
}
BENCHMARK(BM_FullScreenPresent)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
