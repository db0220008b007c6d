// A minimal PNG writer for the desktop and browser icons: 4-bit palette
// pictures, their rows compressed by zlib.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace png_file {

// Up to 16 colours as 0x00RRGGBB; `alpha` holds each entry's opacity
// (0 = transparent, 255 = opaque).
struct Palette {
    std::vector<std::uint32_t> rgb;
    std::vector<std::uint8_t> alpha;
};

// `indices` holds width x height palette indices (0..15), row by row from the top.
std::vector<std::uint8_t> Encode(int width, int height, std::span<const std::uint8_t> indices,
                                 const Palette& palette);

}  // namespace png_file
