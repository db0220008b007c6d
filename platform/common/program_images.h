// The program's two small pictures as pixels: cursor 118 (the fork) and icon
// 121. Every backend's cursor and icon, the Windows resources and the desktop
// entry's icon are made from these, so they cannot drift apart. Plain C++ with
// no platform, so a host tool of a cross build compiles it too.
#pragma once

#include <array>
#include <cstdint>

namespace platform::images {

constexpr int kSize = 32;  // both pictures are 32 x 32

// Cursor 118: a white three-pronged fork pointing up on a transparent ground;
// its hot spot is the top-left pixel.
constexpr int kCursorHotSpotX = 0;
constexpr int kCursorHotSpotY = 0;
// True where the fork is (white), false where the ground shows through.
bool ForkPixel(int x, int y);

// Icon 121: blue on a transparent ground, in at most 16 colours.
constexpr int kIconColours = 16;
constexpr int kIconTransparent = -1;
// The palette as 0x00RRGGBB; entries past the used ones are black.
const std::array<std::uint32_t, kIconColours>& IconPalette();
// The palette index of the pixel, or kIconTransparent.
int IconPixel(int x, int y);

}  // namespace platform::images
