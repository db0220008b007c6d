// Windows bitmap files made in memory, for tests and seeds: every layout the
// loader reads (1, 4 and 8 bits with a palette, 16, 24 and 32 bits, bottom-up
// or top-down, bit-field masks, the old 12-byte header).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace wolby_test {

struct BmpPicture {
    BmpPicture(std::int32_t w, std::int32_t h, int depth) : width(w), height(h), bits(depth) {}

    std::int32_t width;
    std::int32_t height;
    int bits;
    bool topDown = false;
    bool bitfields = false;   // 16 bits as RGB565, 32 as 8-8-8, with their masks after the header
    bool coreHeader = false;  // the 12-byte header of early files (no top-down, no masks)
    std::vector<std::uint32_t> palette;  // 0x00BBGGRR; its size is the file's palette size
    // The pixel at (x, y): a palette index up to 8 bits, else a colour 0x00BBGGRR.
    std::function<std::uint32_t(std::int32_t x, std::int32_t y)> at;
};

std::vector<std::uint8_t> BmpFile(const BmpPicture& picture);

}  // namespace wolby_test
