#include "tests/support/bmp_file.h"

namespace wolby_test {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint8_t Red(std::uint32_t c) { return static_cast<std::uint8_t>(c); }
std::uint8_t Green(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 8); }
std::uint8_t Blue(std::uint32_t c) { return static_cast<std::uint8_t>(c >> 16); }

}  // namespace

std::vector<std::uint8_t> BmpFile(const BmpPicture& p) {
    const auto bits = static_cast<std::uint32_t>(p.bits);
    const std::uint32_t headerSize = p.coreHeader ? 12 : 40;
    const auto paletteCount = static_cast<std::uint32_t>(p.palette.size());
    const std::uint32_t paletteBytes = paletteCount * (p.coreHeader ? 3 : 4);
    const std::uint32_t masksBytes = p.bitfields ? 12 : 0;
    const std::uint32_t stride = ((static_cast<std::uint32_t>(p.width) * bits + 31) / 32) * 4;
    const std::uint32_t offset = 14 + headerSize + masksBytes + paletteBytes;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(p.height);

    std::vector<std::uint8_t> out{'B', 'M'};
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, headerSize);
    if (p.coreHeader) {
        Put16(out, static_cast<std::uint32_t>(p.width));
        Put16(out, static_cast<std::uint32_t>(p.height));
        Put16(out, 1);
        Put16(out, bits);
    } else {
        Put32(out, static_cast<std::uint32_t>(p.width));
        Put32(out, static_cast<std::uint32_t>(p.topDown ? -p.height : p.height));
        Put16(out, 1);
        Put16(out, bits);
        Put32(out, p.bitfields ? 3 : 0);
        Put32(out, imageSize);
        for (int i = 0; i < 4; ++i) Put32(out, 0);
    }
    if (p.bitfields) {
        Put32(out, bits == 16 ? 0xF800 : 0x00FF0000);
        Put32(out, bits == 16 ? 0x07E0 : 0x0000FF00);
        Put32(out, bits == 16 ? 0x001F : 0x000000FF);
    }
    for (const std::uint32_t c : p.palette) {
        out.push_back(Blue(c));
        out.push_back(Green(c));
        out.push_back(Red(c));
        if (!p.coreHeader) out.push_back(0);
    }
    for (std::int32_t row = 0; row < p.height; ++row) {
        const std::int32_t y = p.topDown ? row : p.height - 1 - row;
        std::vector<std::uint8_t> line(stride, 0);
        for (std::int32_t x = 0; x < p.width; ++x) {
            const std::uint32_t v = p.at ? p.at(x, y) : 0;
            const std::size_t at = static_cast<std::size_t>(x) * bits / 8;
            if (bits <= 8) {
                const std::uint32_t bit = static_cast<std::uint32_t>(x) * bits;
                line[bit / 8] |= static_cast<std::uint8_t>(v << (8 - bits - bit % 8));
            } else if (bits == 16) {
                const std::uint32_t r = Red(v);
                const std::uint32_t g = Green(v);
                const std::uint32_t b = Blue(v);
                const std::uint32_t word =
                    p.bitfields ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                line[at] = static_cast<std::uint8_t>(word);
                line[at + 1] = static_cast<std::uint8_t>(word >> 8);
            } else {
                line[at] = Blue(v);
                line[at + 1] = Green(v);
                line[at + 2] = Red(v);
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace wolby_test
