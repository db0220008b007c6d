// The pictures of the graphics sheet, drawn with the platform layer's own
// drawing code so that the committed "zdj/15.bmp" can always be made again.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace sheet_art {

// A new 640 x 480 surface with every piece drawn at its place.
platform::Surface DrawSheet();
// The sheet as the bytes of its 24-bit BMP file.
std::vector<std::uint8_t> SheetFile();

}  // namespace sheet_art
