// Writes the program's cursor and icon as files: wolby.cur and wolby.ico for
// the Windows resources; wolby.xpm and wolby-<size>.png (32, 48, 64, 128 and
// 256 pixels) for the Linux desktop; for the browser game wolby-192.png and
// wolby-512.png, wolby-maskable-512.png and the 180 px touch icon (the icon
// within the safe circle of a black square: launchers and Safari cut such
// icons to their own shape). All come from the pixel definitions the backends
// share; the larger icons are the 32 x 32 one scaled up by nearest neighbour
// to a whole multiple, so they stay sharp.
// usage: wolby_make_images <output folder>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/program_images.h"
#include "tools/png_file.h"

namespace {

namespace images = platform::images;
using Bytes = std::vector<std::uint8_t>;

constexpr int kSize = images::kSize;

void Put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The picture as stored in .ico and .cur files: a BITMAPINFOHEADER of double
// height (colour rows, then the mask), the palette, the colour rows bottom-up
// and the 1-bit transparency mask bottom-up (1 = transparent). Rows are
// padded to 4 bytes.
Bytes IconImage(int bitsPerPixel, const std::vector<std::uint32_t>& palette,
                int (*index)(int, int), bool (*transparent)(int, int)) {
    const int colourStride = (kSize * bitsPerPixel + 31) / 32 * 4;
    const int maskStride = (kSize + 31) / 32 * 4;
    Bytes out;
    Put32(out, 40);
    Put32(out, kSize);
    Put32(out, 2 * kSize);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitsPerPixel));
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>((colourStride + maskStride) * kSize));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(palette.size()));
    Put32(out, 0);
    for (std::uint32_t rgb : palette) Put32(out, rgb);  // B, G, R, 0
    for (int y = kSize - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(colourStride), 0);
        for (int x = 0; x < kSize; ++x) {
            const auto value = static_cast<unsigned>(index(x, y));
            const int bit = x * bitsPerPixel;
            const int shift = 8 - bitsPerPixel - bit % 8;
            row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(value << shift);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = kSize - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < kSize; ++x) {
            if (transparent(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// One-entry .ico (type 1) or .cur (type 2) file; a cursor's entry holds the hot
// spot where an icon's holds planes and bits per pixel.
Bytes IconFile(unsigned type, unsigned colours, unsigned field1, unsigned field2, const Bytes& image) {
    Bytes out;
    Put16(out, 0);
    Put16(out, type);
    Put16(out, 1);
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(static_cast<std::uint8_t>(colours));
    out.push_back(0);
    Put16(out, field1);
    Put16(out, field2);
    Put32(out, static_cast<std::uint32_t>(image.size()));
    Put32(out, 6 + 16);
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

int ForkIndex(int x, int y) { return images::ForkPixel(x, y) ? 1 : 0; }
bool ForkTransparent(int x, int y) { return !images::ForkPixel(x, y); }
bool IconTransparent(int x, int y) { return images::IconPixel(x, y) == images::kIconTransparent; }

Bytes CursorFile() {
    const Bytes image = IconImage(1, {0x000000, 0xFFFFFF}, ForkIndex, ForkTransparent);
    return IconFile(2, 2, images::kCursorHotSpotX, images::kCursorHotSpotY, image);
}

Bytes IconFileBytes() {
    // Entry 0 is black, which transparent pixels hold so that they leave the
    // ground as it is; the picture's colours follow it.
    std::vector<std::uint32_t> palette(images::kIconColours, 0);
    const auto& colours = images::IconPalette();
    for (std::size_t i = 0; i + 1 < palette.size(); ++i) palette[i + 1] = colours[i];
    static_assert(images::kIconTransparent + 1 == 0);
    const Bytes image = IconImage(4, palette, [](int x, int y) { return images::IconPixel(x, y) + 1; },
                                  IconTransparent);
    return IconFile(1, images::kIconColours, 1, 4, image);
}

std::string Xpm() {
    const auto& palette = images::IconPalette();
    // One character per palette entry that some pixel uses.
    std::vector<bool> inUse(palette.size(), false);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const int index = images::IconPixel(x, y);
            if (index != images::kIconTransparent) inUse[static_cast<std::size_t>(index)] = true;
        }
    }
    std::string colourLines;
    int count = 1;
    char line[64];
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (!inUse[i]) continue;
        std::snprintf(line, sizeof line, "\"%c c #%06X\",\n", static_cast<char>('a' + i),
                      static_cast<unsigned>(palette[i]));
        colourLines += line;
        ++count;
    }
    std::string out = "/* XPM */\nstatic char *wolby[] = {\n";
    std::snprintf(line, sizeof line, "\"%d %d %d 1\",\n", kSize, kSize, count);
    out += line;
    out += "\"  c None\",\n";
    out += colourLines;
    for (int y = 0; y < kSize; ++y) {
        out += '"';
        for (int x = 0; x < kSize; ++x) {
            const int index = images::IconPixel(x, y);
            out += index == images::kIconTransparent ? ' ' : static_cast<char>('a' + index);
        }
        out += y + 1 < kSize ? "\",\n" : "\"\n";
    }
    out += "};\n";
    return out;
}

// The icon at `size` pixels: each pixel takes the 32 x 32 pixel it falls on.
// Palette entry 0 is the ground, the picture's colours follow it (as in the
// .ico). A framed icon is drawn at `size` within a `frame`-pixel square of
// opaque black; otherwise the ground is transparent.
Bytes IconPng(int size, int frame = 0) {
    const bool framed = frame > 0;
    if (!framed) frame = size;
    const int margin = (frame - size) / 2;
    std::vector<std::uint8_t> indices;
    indices.reserve(static_cast<std::size_t>(frame * frame));
    for (int y = 0; y < frame; ++y) {
        for (int x = 0; x < frame; ++x) {
            const int ix = x - margin;
            const int iy = y - margin;
            const bool inside = ix >= 0 && iy >= 0 && ix < size && iy < size;
            indices.push_back(static_cast<std::uint8_t>(
                inside ? images::IconPixel(ix * kSize / size, iy * kSize / size) + 1 : 0));
        }
    }
    png_file::Palette palette{{0x000000}, {static_cast<std::uint8_t>(framed ? 255 : 0)}};
    for (std::uint32_t rgb : images::IconPalette()) palette.rgb.push_back(rgb);
    // 16 entries: the icon palette's last one, unused, gives way to entry 0.
    palette.rgb.resize(images::kIconColours);
    return png_file::Encode(frame, frame, indices, palette);
}

bool Write(const std::string& path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const Bytes cursor = CursorFile();
    const Bytes icon = IconFileBytes();
    const std::string xpm = Xpm();
    if (!Write(folder + "/wolby.cur", cursor.data(), cursor.size()) ||
        !Write(folder + "/wolby.ico", icon.data(), icon.size()) ||
        !Write(folder + "/wolby.xpm", xpm.data(), xpm.size())) {
        std::fprintf(stderr, "%s: cannot write into %s\n", argv[0], folder.c_str());
        return 1;
    }
    struct Png {
        std::string name;
        Bytes bytes;
    };
    std::vector<Png> pngs;
    for (int size : {32, 48, 64, 128, 192, 256, 512}) pngs.push_back({"wolby-" + std::to_string(size), IconPng(size)});
    // The safe circle of a maskable icon is 80% of its side: 288 px (9 x 32)
    // keeps the square's corners within it. A touch icon keeps a narrow rim.
    pngs.push_back({"wolby-maskable-512", IconPng(288, 512)});
    pngs.push_back({"wolby-touch-180", IconPng(160, 180)});
    for (const Png& png : pngs) {
        const std::string path = folder + "/" + png.name + ".png";
        if (!Write(path, png.bytes.data(), png.bytes.size())) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], path.c_str());
            return 1;
        }
    }
    return 0;
}
