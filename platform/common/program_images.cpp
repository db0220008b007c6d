#include "platform/common/program_images.h"

namespace platform::images {
namespace {

enum IconColour { Navy, Blue, LightBlue, CentreBlue, Gleam };

}  // namespace

bool ForkPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
    const bool prong = y <= 12 && ((x >= 9 && x <= 10) || (x >= 15 && x <= 16) || (x >= 21 && x <= 22));
    const bool crossbar = (y == 13 || y == 14) && x >= 9 && x <= 22;
    const bool handle = y >= 13 && x >= 14 && x <= 17;
    return prong || crossbar || handle;
}

const std::array<std::uint32_t, kIconColours>& IconPalette() {
    static const std::array<std::uint32_t, kIconColours> palette = {
        0x000080,  // navy rim
        0x0000FF,  // blue
        0x0080FF,  // light blue ring
        0x0000C0,  // blue centre
        0xFFFFFF,  // gleam
    };
    return palette;
}

// A blue disc with a lighter ring and a white gleam, in a few flat blues.
int IconPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return kIconTransparent;
    const int dx = 2 * x + 1 - kSize;
    const int dy = 2 * y + 1 - kSize;
    const int d2 = dx * dx + dy * dy;  // in half pixels, squared
    int colour = kIconTransparent;
    if (d2 <= 30 * 30) colour = Navy;
    if (d2 <= 27 * 27) colour = Blue;
    if (d2 <= 20 * 20) colour = LightBlue;
    if (d2 <= 16 * 16) colour = CentreBlue;
    const int gx = 2 * x + 1 - 22;
    const int gy = 2 * y + 1 - 20;
    if (gx * gx + gy * gy <= 5 * 5) colour = Gleam;
    return colour;
}

}  // namespace platform::images
