// The bitmap loader on any file, as the game loads its sheet, then every sheet
// piece drawn from the result as the screens draw them: a sheet of another size
// must give a clipped picture, never a read outside it.
#include <cstddef>
#include <filesystem>
#include <cstdint>

#include "tests/support/headless_controls.h"
#include "platform/platform.h"
#include "screens/load_bitmap_surface.h"
#include "screens/program_state.h"
#include "screens/sheet.h"
#include "tests/support/byte_file.h"
#include "tests/support/fuzz_support.h"
#include "tests/support/display.h"

using wolby_fuzz::Expect;
namespace headless = platform::headless;

namespace {

// The display as WinMain makes it. Surfaces live until the backend is reset,
// which is done every so many inputs: making the 800 x 600 screen anew for
// each input would cost more than the loading itself.
void StartDisplay() {
    static int inputs = 0;
    if (inputs++ % 64 != 0) return;
    headless::Reset();
    ResetProgramState();
    Expect(wolby_test::StartDisplay(), "the display");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Expect(wolby_fuzz::EnterScratchDirectory(), "a scratch directory");
    static const bool folder = std::filesystem::create_directories("zdj") || true;
    (void)folder;
    Expect(wolby_test::WriteBytes("zdj/15.bmp", {data, size}), "the input as the sheet");
    StartDisplay();
    const int surfacesBefore = headless::LiveSurfaces();
    g_sheetSurface = LoadBitmapSurface(g_directDraw, "zdj\\15.bmp");
    if (g_sheetSurface == nullptr) {
        Expect(headless::LiveSurfaces() == surfacesBefore, "a refused file leaves no surface");
        return 0;
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetSurfaceSize(g_sheetSurface, &width, &height);
    Expect(width > 0 && height > 0, "a loaded sheet has pixels");

    for (const platform::Rect& piece :
         {sheet::MenuPicture, sheet::MenuMarker, sheet::BackButton, sheet::SquareTile, sheet::GameFrameTile,
          sheet::OptionsFrameTile, sheet::ArrowLeft, sheet::ArrowRight}) {
        platform::BltFast(g_primarySurface, piece.left, piece.top, g_sheetSurface, &piece,
                          platform::DDBLTFAST_NOCOLORKEY);
    }
    platform::SetColorKey(g_sheetSurface, platform::DDCKEY_SRCBLT, 0, 0);
    const platform::Rect square{100, 100, 150, 150};
    platform::Blt(g_primarySurface, &square, g_sheetSurface, &sheet::DiscOverlay,
                  platform::DDBLT_WAIT | platform::DDBLT_KEYSRC | platform::DDBLT_ALPHADEST);
    const platform::Rect strip{700, 0, 800, 600};
    platform::Blt(g_primarySurface, &strip, g_sheetSurface, &sheet::CreditsStrip, platform::DDBLT_WAIT);
    return 0;
}
