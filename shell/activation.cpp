#include "shell/activation.h"

#include "screens/load_bitmap_surface.h"
#include "screens/program_state.h"
#include "screens/routing.h"
#include "screens/sheet.h"

namespace {

// The mode WinMain takes at start-up.
constexpr std::int32_t kModeWidth = 800;
constexpr std::int32_t kModeHeight = 600;
constexpr std::int32_t kModeBits = 16;

}  // namespace

bool RestoreSurfaces() {
    if (g_primarySurface == nullptr || g_sheetSurface == nullptr) return false;
    if (platform::IsLost(g_primarySurface) && !platform::Restore(g_primarySurface)) {
        if (!platform::SetDisplayMode(g_directDraw, kModeWidth, kModeHeight, kModeBits) ||
            !platform::Restore(g_primarySurface)) {
            return false;
        }
    }
    // Asked only now: taking the mode again loses the sheet's surface as well.
    if (platform::IsLost(g_sheetSurface)) {
        if (!platform::Restore(g_sheetSurface)) return false;
        // A sheet that can no longer be read leaves its pieces black; the game goes on.
        ReloadBitmapSurface(g_sheetSurface, sheet::kFileName);
    }
    return true;
}

void OnActivateApp(bool active) {
    g_gameActive = active;
    // While away the surfaces stay as they are: restoring them, or taking the
    // display mode, would take the display from the program now in front.
    if (active && RestoreSurfaces()) RedrawScreen();
}

void OnPaint(platform::Window window) {
    // Validated first: a drawing step below that finds a surface lost asks for
    // another WM_PAINT, which must not be cleared.
    platform::ValidateRect(window);
    if (g_gameActive && RestoreSurfaces()) RedrawScreen();
}
