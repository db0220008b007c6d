// Windows bitmap files: reading any common BMP into a bitmap object and writing
// a surface as a 24-bit BMP.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct BitmapObject {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Colour> pixels;  // top row first
};

namespace common {

// Null for anything that is not a complete, supported bitmap.
Bitmap ReadBitmap(const std::vector<std::uint8_t>& bytes);
// The whole surface as a bottom-up 24-bit BMP; the same pixels always give the same bytes.
std::vector<std::uint8_t> EncodeBmp24(Surface surface);
bool WriteBmp24(Surface surface, const std::string& path);
void DestroyBitmaps();
int LiveBitmaps();

}  // namespace common
}  // namespace platform
