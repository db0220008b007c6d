#include "tools/png_file.h"

#include <stdexcept>
#include <string_view>

#include <zlib.h>

namespace png_file {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& out, std::uint32_t value) {  // big-endian, as PNG and zlib store numbers
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

// The rows as one zlib stream, as small as zlib makes it: the larger icons
// (the browser's 512 px ones) would be hundreds of kilobytes stored.
Bytes Zlib(std::span<const std::uint8_t> data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("png_file: zlib could not compress the rows");
    }
    out.resize(size);
    return out;
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, Crc32(std::span(out).subspan(start)));
}

}  // namespace

std::vector<std::uint8_t> Encode(int width, int height, std::span<const std::uint8_t> indices,
                                 const Palette& palette) {
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {4, 3, 0, 0, 0});  // 4 bits, palette, deflate, no filter, not interlaced
    PutChunk(out, "IHDR", header);

    Bytes colours;
    for (std::uint32_t rgb : palette.rgb) {
        colours.insert(colours.end(), {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                                       static_cast<std::uint8_t>(rgb)});
    }
    PutChunk(out, "PLTE", colours);
    PutChunk(out, "tRNS", Bytes(palette.alpha.begin(), palette.alpha.end()));

    // Each row: filter type 0 (none), then two pixels a byte, the left one high.
    const auto stride = static_cast<std::size_t>((width + 1) / 2);
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = indices[static_cast<std::size_t>(y * width + x)] & 0x0F;
            row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
    PutChunk(out, "IDAT", Zlib(rows));
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace png_file
