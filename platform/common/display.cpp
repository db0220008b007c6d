// The display object, its one mode and its surfaces, as the headless, SDL and
// browser backends have them: the monitor keeps its own mode, and the game's
// 800 x 600 picture is a surface that the backend shows (or a test reads). The real window never
// loses a surface (its memory is the program's own); the headless backend's
// tests take it away as another program taking the display would.
#include <memory>

#include "platform/common/backend.h"
#include "platform/common/surface.h"
#include "platform/common/window_system.h"

namespace platform {

using backend::Call;

bool DirectDrawCreate(DirectDraw* directDraw) {
    if (directDraw == nullptr) return false;
    *directDraw = nullptr;
    if (!backend::Allows(Call::DirectDrawCreate)) return false;
    common::Emulation& e = common::Emulated();
    if (!e.directDraw) e.directDraw = std::make_unique<DirectDrawObject>();
    *directDraw = e.directDraw.get();
    return true;
}

bool SetCooperativeLevel(DirectDraw directDraw, Window window, unsigned flags) {
    common::Emulation& e = common::Emulated();
    if (!backend::Allows(Call::SetCooperativeLevel)) return false;
    if (directDraw == nullptr || directDraw != e.directDraw.get() || window == nullptr ||
        window != e.window.get()) {
        return false;
    }
    e.cooperative = (flags & DDSCL_EXCLUSIVE) != 0;
    return true;
}

bool SetDisplayMode(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                    std::int32_t bitsPerPixel) {
    common::Emulation& e = common::Emulated();
    if (!backend::Allows(Call::SetDisplayMode)) return false;
    // The one mode there is: the game's.
    if (directDraw == nullptr || directDraw != e.directDraw.get() || !e.cooperative ||
        width != common::kPictureWidth || height != common::kPictureHeight || bitsPerPixel != 16) {
        return false;
    }
    // A change of mode takes every surface's memory, as DirectDraw does.
    if (!e.modeSet) common::LoseAllSurfaces();
    e.modeSet = true;
    return true;
}

bool CreatePrimarySurface(DirectDraw directDraw, Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    common::Emulation& e = common::Emulated();
    if (!backend::Allows(Call::CreatePrimarySurface)) return false;
    if (directDraw == nullptr || directDraw != e.directDraw.get() || e.primary) return false;
    e.primary = common::NewSurface(common::kPictureWidth, common::kPictureHeight);
    *surface = e.primary;
    return *surface != nullptr;
}

bool CreateOffscreenSurface(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                            Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (!backend::Allows(Call::CreateOffscreenSurface)) return false;
    if (directDraw == nullptr || directDraw != common::Emulated().directDraw.get()) return false;
    *surface = common::NewSurface(width, height);
    return *surface != nullptr;
}

void ReleaseSurface(Surface surface) {
    if (surface == nullptr) return;
    common::Emulation& e = common::Emulated();
    if (surface == e.primary) e.primary = nullptr;
    common::FreeSurface(surface);
}

bool IsLost(Surface surface) { return surface != nullptr && surface->lost; }

bool Restore(Surface surface) {
    if (surface == nullptr) return false;
    // The screen's surface needs the display in the game's mode again.
    if (surface == common::Emulated().primary && !common::Emulated().modeSet) return false;
    surface->lost = false;
    return true;
}

DrawingContext GetDC(Surface surface) {
    if (!backend::Allows(Call::GetDC)) return nullptr;
    return common::OpenContext(surface);
}

void ReleaseDC(Surface surface, DrawingContext context) { common::CloseContext(surface, context); }

}  // namespace platform
