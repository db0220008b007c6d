#include "platform/common/bitmap_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "platform/common/bitmap_header.h"
#include "platform/common/regular_file.h"
#include "platform/common/surface.h"

namespace platform {
namespace common {
namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;

std::vector<std::unique_ptr<BitmapObject>>& Bitmaps() {
    static std::vector<std::unique_ptr<BitmapObject>> bitmaps;
    return bitmaps;
}

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    std::uint32_t U8(std::uint64_t offset) const { return bytes_[static_cast<std::size_t>(offset)]; }
    std::uint32_t U16(std::uint64_t offset) const { return U8(offset) | (U8(offset + 1) << 8); }
    std::uint32_t U32(std::uint64_t offset) const {
        return U16(offset) | (U16(offset + 2) << 16);
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

// One channel of a bitfield pixel, scaled to 0..255.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const std::uint32_t field = mask >> shift;
    const std::uint32_t value = (pixel & mask) >> shift;
    return static_cast<std::uint32_t>((std::uint64_t{value} * 255 + field / 2) / field);
}

Colour Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

Bitmap ReadBitmap(const std::vector<std::uint8_t>& bytes) {
    const Reader in(bytes);
    BitmapHeader header;
    if (!ReadBitmapHeader(bytes.data(), bytes.size(), &header)) return nullptr;
    const std::uint64_t pixelOffset = header.pixelOffset;
    const std::uint32_t headerSize = header.headerSize;
    const std::int64_t width = header.width;
    const std::int64_t height = header.height;
    const bool topDown = header.topDown;
    const std::uint32_t bitCount = header.bitCount;
    const std::uint32_t compression = header.compression;
    const std::uint32_t coloursUsed = header.coloursUsed;
    const std::uint32_t paletteEntrySize = header.paletteEntrySize;

    std::uint32_t masks[3] = {0, 0, 0};
    if (compression == kBitfields) {
        if (bitCount != 16 && bitCount != 32) return nullptr;
        // The masks follow a 40-byte header and are part of the larger ones.
        const std::uint64_t at = 14 + 40;
        if (!in.Has(at, 12)) return nullptr;
        for (int i = 0; i < 3; ++i) masks[i] = in.U32(at + 4 * static_cast<std::uint64_t>(i));
    } else if (compression != kRgb) {
        return nullptr;  // run-length and embedded formats are not used here
    } else if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32) {
        return nullptr;
    }

    std::vector<Colour> palette;
    if (bitCount <= 8) {
        std::uint32_t count = coloursUsed ? coloursUsed : (1u << bitCount);
        if (count > 256) return nullptr;
        std::uint64_t at = 14 + std::uint64_t{headerSize};
        if (compression == kBitfields) at += 12;
        if (!in.Has(at, std::uint64_t{count} * paletteEntrySize)) return nullptr;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = at + std::uint64_t{i} * paletteEntrySize;
            palette.push_back(Rgb(in.U8(entry + 2), in.U8(entry + 1), in.U8(entry)));
        }
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t lastRowBytes = (static_cast<std::uint64_t>(width) * bitCount + 7) / 8;
    const auto rows = static_cast<std::uint64_t>(height);
    // A last row without its padding is accepted; anything shorter is truncated.
    if (!in.Has(pixelOffset, stride * (rows - 1) + lastRowBytes)) return nullptr;

    auto bitmap = std::make_unique<BitmapObject>();
    bitmap->width = static_cast<std::int32_t>(width);
    bitmap->height = static_cast<std::int32_t>(height);
    bitmap->pixels.resize(static_cast<std::size_t>(width * height));
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::uint64_t fileRow = topDown ? row : rows - 1 - row;
        const std::uint64_t base = pixelOffset + fileRow * stride;
        Colour* out = bitmap->pixels.data() + row * static_cast<std::uint64_t>(width);
        for (std::int64_t x = 0; x < width; ++x) {
            const auto ux = static_cast<std::uint64_t>(x);
            Colour colour = 0;
            if (bitCount <= 8) {
                const std::uint64_t bit = ux * bitCount;
                const std::uint32_t byte = in.U8(base + bit / 8);
                const std::uint32_t shift = 8 - bitCount - static_cast<std::uint32_t>(bit % 8);
                const std::uint32_t index = (byte >> shift) & ((1u << bitCount) - 1);
                colour = index < palette.size() ? palette[index] : 0;
            } else if (bitCount == 24) {
                const std::uint64_t at = base + ux * 3;
                colour = Rgb(in.U8(at + 2), in.U8(at + 1), in.U8(at));
            } else if (bitCount == 32 && compression == kRgb) {
                const std::uint64_t at = base + ux * 4;
                colour = Rgb(in.U8(at + 2), in.U8(at + 1), in.U8(at));
            } else {
                const std::uint32_t pixel =
                    bitCount == 16 ? in.U16(base + ux * 2) : in.U32(base + ux * 4);
                colour = Rgb(Channel(pixel, masks[0]), Channel(pixel, masks[1]),
                             Channel(pixel, masks[2]));
            }
            out[x] = colour;
        }
    }
    Bitmap handle = bitmap.get();
    Bitmaps().push_back(std::move(bitmap));
    return handle;
}

std::vector<std::uint8_t> EncodeBmp24(Surface surface) {
    std::vector<std::uint8_t> out;
    if (surface == nullptr) return out;
    const auto width = static_cast<std::uint32_t>(surface->width);
    const auto height = static_cast<std::uint32_t>(surface->height);
    const std::uint32_t stride = ((width * 24 + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * height;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);  // bottom-up
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kRgb);
    Put32(out, imageSize);
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (std::uint32_t row = height; row-- > 0;) {
        const std::uint16_t* pixels = surface->pixels.data() + std::size_t{row} * width;
        for (std::uint32_t x = 0; x < width; ++x) {
            const Colour colour = FromPixel(pixels[x]);
            out.push_back(static_cast<std::uint8_t>((colour >> 16) & 0xFF));
            out.push_back(static_cast<std::uint8_t>((colour >> 8) & 0xFF));
            out.push_back(static_cast<std::uint8_t>(colour & 0xFF));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

bool WriteBmp24(Surface surface, const std::string& path) {
    if (surface == nullptr) return false;
    const std::vector<std::uint8_t> bytes = EncodeBmp24(surface);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

void DestroyBitmaps() { Bitmaps().clear(); }
int LiveBitmaps() { return static_cast<int>(Bitmaps().size()); }

}  // namespace common

Bitmap LoadImageFromFile(const char* name) {
    if (name == nullptr || *name == '\0') return nullptr;
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    // No bitmap we accept is larger: reading stops at a sane size.
    constexpr std::uint64_t kMaxFile = 64u * 1024u * 1024u + 4096u;
    std::vector<std::uint8_t> bytes;
    if (!common::ReadRegularFile(path, kMaxFile, bytes)) return nullptr;
    return common::ReadBitmap(bytes);
}

void GetBitmapSize(Bitmap bitmap, std::int32_t* width, std::int32_t* height) {
    if (width) *width = bitmap ? bitmap->width : 0;
    if (height) *height = bitmap ? bitmap->height : 0;
}

bool StretchBitmap(DrawingContext context, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, Bitmap bitmap) {
    if (context == nullptr || bitmap == nullptr || width <= 0 || height <= 0) return false;
    SurfaceObject& surface = *context->surface;
    const std::int32_t left = std::max(x, 0);
    const std::int32_t top = std::max(y, 0);
    const auto right = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{x} + width, surface.width));
    const auto bottom = static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{y} + height, surface.height));
    for (std::int32_t ty = top; ty < bottom; ++ty) {
        const std::int64_t sy = ((2 * (std::int64_t{ty} - y) + 1) * bitmap->height) / (2 * std::int64_t{height});
        for (std::int32_t tx = left; tx < right; ++tx) {
            const std::int64_t sx = ((2 * (std::int64_t{tx} - x) + 1) * bitmap->width) / (2 * std::int64_t{width});
            surface.pixels[static_cast<std::size_t>(std::int64_t{ty} * surface.width + tx)] =
                common::ToPixel(bitmap->pixels[static_cast<std::size_t>(sy * bitmap->width + sx)]);
        }
    }
    common::MarkDrawn(surface, {left, top, right, bottom});
    return true;
}

void DeleteBitmap(Bitmap bitmap) {
    auto& bitmaps = common::Bitmaps();
    bitmaps.erase(std::remove_if(bitmaps.begin(), bitmaps.end(),
                                 [bitmap](const auto& owned) { return owned.get() == bitmap; }),
                  bitmaps.end());
}

}  // namespace platform
