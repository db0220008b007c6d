// The headers at the start of a Windows bitmap file, read without its pixels,
// and the largest picture the game accepts. Every backend's loader asks this
// first, so a file is refused or accepted by the same rule everywhere.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::common {

struct BitmapHeader {
    std::uint64_t pixelOffset = 0;     // where the pixel rows start in the file
    std::uint32_t headerSize = 0;      // 12 for the OS/2 core header, else 40 to 124
    std::int64_t width = 0;
    std::int64_t height = 0;           // positive; `topDown` keeps the sign
    bool topDown = false;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t paletteEntrySize = 4;  // bytes per palette entry: 3 with the core header
};

// The file header and the largest info header: all ReadBitmapHeader needs.
constexpr std::size_t kBitmapHeadersSize = 14 + 124;

// Reads the headers from the first `size` bytes of a file. False when they are
// not a bitmap's, or when the picture is empty or too large: a side above 16384
// or more than 4096 x 4096 pixels in all (a small 1-bit file could otherwise
// make a loader take gigabytes).
bool ReadBitmapHeader(const std::uint8_t* bytes, std::size_t size, BitmapHeader* header);

}  // namespace platform::common
