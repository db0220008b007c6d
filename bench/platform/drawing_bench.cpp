// Drawing costs on the headless backend (the same drawing code as the game's):
// one PutText line and one growing disc (six ellipses and the keyed gloss; the
// Sleeps are virtual, so only drawing is measured).
#include <benchmark/benchmark.h>

#include <string>

#include "tests/support/headless_controls.h"
#include "screens/load_bitmap_surface.h"
#include "screens/program_state.h"
#include "screens/put_text.h"
#include "screens/sheet.h"
#include "tests/support/display.h"

using namespace platform;

namespace {

void StartScreen() {
    headless::Reset();
    ResetProgramState();
    wolby_test::StartDisplay();
    g_sheetSurface = LoadBitmapSurface(g_directDraw, WOLBY_SOURCE_DIR "/zdj/15.bmp");
}

void BM_PutTextLine(benchmark::State& state) {
    StartScreen();
    for (auto _ : state) PutText("Pozosta\xB3o 7 sek.", 0xFFFFFF, 0x3C0A14, 620, 120);
    benchmark::DoNotOptimize(headless::RawPixelAt(620, 120));
}
BENCHMARK(BM_PutTextLine);

void BM_GrowingDisc(benchmark::State& state) {
    StartScreen();
    Brush brush = CreateSolidBrush(3 * 0x140A3C);
    for (auto _ : state) {
        if (DrawingContext dc = GetDC(g_primarySurface)) {
            Brush old = SelectObject(dc, brush);
            for (int i = 0; i < 6; ++i) {
                Ellipse(dc, 110 - 2 * i, 110 - 2 * i, 140 + 2 * i, 140 + 2 * i);
                Sleep(10);
            }
            SelectObject(dc, old);
            ReleaseDC(g_primarySurface, dc);
        }
        SetColorKey(g_sheetSurface, DDCKEY_SRCBLT, 0, 0);
        const Rect at{100, 100, 150, 150};
        Blt(g_primarySurface, &at, g_sheetSurface, &sheet::DiscOverlay, DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ALPHADEST);
    }
    DeleteObject(brush);
    benchmark::DoNotOptimize(headless::RawPixelAt(125, 125));
}
BENCHMARK(BM_GrowingDisc);

}  // namespace

BENCHMARK_MAIN();
