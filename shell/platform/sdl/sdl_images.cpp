#include "shell/platform/sdl/sdl_images.h"

#include <array>
#include <cstdint>

namespace platform::sdl {
namespace {

bool ForkPixel(int x, int y) {
    const bool prong = y <= 12 && ((x >= 9 && x <= 10) || (x >= 15 && x <= 16) || (x >= 21 && x <= 22));
    const bool crossbar = (y == 13 || y == 14) && x >= 9 && x <= 22;
    const bool handle = y >= 13 && x >= 14 && x <= 17;
    return prong || crossbar || handle;
}

}  // namespace

SDL_Cursor* CreateForkCursor() {
    // SDL's two-colour cursors: mask bit set and data bit clear is white;
    // both clear is transparent.
    std::array<Uint8, 32 * 32 / 8> data{};
    std::array<Uint8, 32 * 32 / 8> mask{};
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (ForkPixel(x, y)) {
                mask[static_cast<std::size_t>(y * 4 + x / 8)] |= static_cast<Uint8>(0x80 >> (x % 8));
            }
        }
    }
    return SDL_CreateCursor(data.data(), mask.data(), 32, 32, 0, 0);
}

SDL_Surface* CreateIcon() {
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return nullptr;
    // A blue disc with a lighter ring and a white gleam, in a few flat blues.
    for (int y = 0; y < 32; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < 32; ++x) {
            const int dx = 2 * x + 1 - 32;
            const int dy = 2 * y + 1 - 32;
            const int d2 = dx * dx + dy * dy;  // in half pixels, squared
            Uint32 colour = 0x00000000;        // transparent
            if (d2 <= 30 * 30) colour = 0xFF000080;        // navy rim
            if (d2 <= 27 * 27) colour = 0xFF0000FF;        // blue
            if (d2 <= 20 * 20) colour = 0xFF0080FF;        // light blue ring
            if (d2 <= 16 * 16) colour = 0xFF0000C0;        // blue centre
            const int gx = 2 * x + 1 - 22;
            const int gy = 2 * y + 1 - 20;
            if (gx * gx + gy * gy <= 5 * 5) colour = 0xFFFFFFFF;  // gleam
            row[x] = colour;
        }
    }
    return icon;
}

}  // namespace platform::sdl
