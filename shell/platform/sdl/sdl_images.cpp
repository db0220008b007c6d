#include "shell/platform/sdl/sdl_images.h"

#include <array>
#include <cstdint>

#include "shell/platform/common/program_images.h"

namespace platform::sdl {

SDL_Cursor* CreateForkCursor() {
    // SDL's two-colour cursors: mask bit set and data bit clear is white;
    // both clear is transparent.
    constexpr int kSize = images::kSize;
    std::array<Uint8, kSize * kSize / 8> data{};
    std::array<Uint8, kSize * kSize / 8> mask{};
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (images::ForkPixel(x, y)) {
                mask[static_cast<std::size_t>(y * (kSize / 8) + x / 8)] |= static_cast<Uint8>(0x80 >> (x % 8));
            }
        }
    }
    return SDL_CreateCursor(data.data(), mask.data(), kSize, kSize, images::kCursorHotSpotX,
                            images::kCursorHotSpotY);
}

SDL_Surface* CreateIcon() {
    constexpr int kSize = images::kSize;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return nullptr;
    const auto& palette = images::IconPalette();
    for (int y = 0; y < kSize; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
        for (int x = 0; x < kSize; ++x) {
            const int index = images::IconPixel(x, y);
            row[x] = index == images::kIconTransparent
                         ? 0x00000000
                         : 0xFF000000 | palette[static_cast<std::size_t>(index)];
        }
    }
    return icon;
}

}  // namespace platform::sdl
