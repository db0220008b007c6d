#include "platform/sdl/sdl_images.h"

#include <cstdint>

#include "platform/common/program_images.h"

namespace platform::sdl {

SDL_Cursor* CreateForkCursor(int size) {
    if (size < 1) return nullptr;
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
    if (picture == nullptr) return nullptr;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(picture->pixels) + y * picture->pitch);
        for (int x = 0; x < size; ++x) {
            const bool fork = images::ForkPixel(x * images::kSize / size, y * images::kSize / size);
            row[x] = fork ? 0xFFFFFFFF : 0x00000000;
        }
    }
    SDL_Cursor* cursor = SDL_CreateColorCursor(picture, images::kCursorHotSpotX * size / images::kSize,
                                               images::kCursorHotSpotY * size / images::kSize);
    SDL_FreeSurface(picture);
    return cursor;
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
