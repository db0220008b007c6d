#include "platform/common/bitmap_header.h"

namespace platform::common {
namespace {

constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 4096 * 4096;

std::uint32_t U16(const std::uint8_t* at) { return at[0] | (std::uint32_t{at[1]} << 8); }
std::uint32_t U32(const std::uint8_t* at) { return U16(at) | (U16(at + 2) << 16); }

}  // namespace

bool ReadBitmapHeader(const std::uint8_t* bytes, std::size_t size, BitmapHeader* header) {
    if (bytes == nullptr || header == nullptr || size < 18 || bytes[0] != 'B' || bytes[1] != 'M') {
        return false;
    }
    BitmapHeader h;
    h.pixelOffset = U32(bytes + 10);
    h.headerSize = U32(bytes + 14);
    if (h.headerSize > size - 14) return false;

    if (h.headerSize == 12) {  // OS/2 core header
        h.width = U16(bytes + 18);
        h.height = U16(bytes + 20);
        h.bitCount = U16(bytes + 24);
        h.paletteEntrySize = 3;
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = static_cast<std::int32_t>(U32(bytes + 18));
        h.height = static_cast<std::int32_t>(U32(bytes + 22));
        if (U16(bytes + 26) != 1) return false;  // planes
        h.bitCount = U16(bytes + 28);
        h.compression = U32(bytes + 30);
        h.coloursUsed = U32(bytes + 46);
    } else {
        return false;
    }
    h.topDown = h.height < 0;
    if (h.topDown) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide) return false;
    if (h.width * h.height > kMaxPixels) return false;
    *header = h;
    return true;
}

}  // namespace platform::common
