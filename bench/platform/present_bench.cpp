// The SDL backend's cost of showing the picture on the window (scaling and
// converting it onto the window surface and handing it to X): the whole 800 x
// 600 picture, and what one step of a growing disc changes.
// Needs a display: run it under xvfb-run -s "-screen 0 1024x768x24" (or a 4K
// screen, 3840x2160, where the disc's present matters most).
#include <benchmark/benchmark.h>

#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "screens/program_state.h"
#include "tests/support/display.h"

using namespace platform;

namespace {

bool OpenScreen() {
    if (g_primarySurface == nullptr) {
        if (!wolby_test::StartDisplay()) return false;
        sdl::PresentNow();
    }
    return true;
}

void BM_FullScreenPresent(benchmark::State& state) {
    if (!OpenScreen()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) sdl::PresentNow();
}
BENCHMARK(BM_FullScreenPresent)->Unit(benchmark::kMicrosecond);

// One step of a growing disc: an ellipse in a 50 x 50 square, then the present
// that each 10 ms pause starts with.
void BM_DiscStepPresent(benchmark::State& state) {
    if (!OpenScreen()) {
        state.SkipWithError("no display");
        return;
    }
    Brush brush = CreateSolidBrush(0x143C0A);
    int step = 0;
    for (auto _ : state) {
        DrawingContext context = GetDC(g_primarySurface);
        Brush previous = SelectObject(context, brush);
        const std::int32_t grow = 2 * (step++ % 6);
        Ellipse(context, 310 - grow, 310 - grow, 340 + grow, 340 + grow);
        SelectObject(context, previous);
        ReleaseDC(g_primarySurface, context);
        sdl::PresentDrawn();
    }
    DeleteObject(brush);
}
BENCHMARK(BM_DiscStepPresent)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
