#include "platform/common/text_atlas.h"

#include <algorithm>
#include <string_view>

namespace platform::common::text_atlas {
namespace {

constexpr std::string_view kMagic = "WLBYTXT1";

void Put16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Take(std::size_t count, std::span<const std::uint8_t>* taken) {
        if (bytes_.size() - at_ < count) return false;
        *taken = bytes_.subspan(at_, count);
        at_ += count;
        return true;
    }
    bool Take16(std::uint32_t* value) {
        std::span<const std::uint8_t> two;
        if (!Take(2, &two)) return false;
        *value = static_cast<std::uint32_t>(two[0] | (two[1] << 8));
        return true;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<std::uint8_t> Encode(const Atlas& atlas) {
    std::vector<std::uint8_t> out(kMagic.begin(), kMagic.end());
    Put16(out, static_cast<std::size_t>(atlas.face));
    Put16(out, static_cast<std::size_t>(atlas.size));
    Put16(out, atlas.entries.size());
    for (const Entry& entry : atlas.entries) {
        Put16(out, entry.utf8.size());
        out.insert(out.end(), entry.utf8.begin(), entry.utf8.end());
        Put16(out, static_cast<std::size_t>(entry.line.width));
        Put16(out, static_cast<std::size_t>(entry.line.height));
        out.insert(out.end(), entry.line.levels.begin(), entry.line.levels.end());
    }
    return out;
}

bool Decode(std::span<const std::uint8_t> bytes, Atlas* atlas) {
    Reader reader(bytes);
    std::span<const std::uint8_t> magic;
    if (!reader.Take(kMagic.size(), &magic) || !std::equal(magic.begin(), magic.end(), kMagic.begin())) {
        return false;
    }
    std::uint32_t face = 0;
    std::uint32_t size = 0;
    std::uint32_t count = 0;
    if (!reader.Take16(&face) || !reader.Take16(&size) || !reader.Take16(&count)) return false;
    if (face > static_cast<std::uint32_t>(Face::SerifBold)) return false;
    Atlas read{static_cast<Face>(face), static_cast<int>(size), {}};
    read.entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        Entry entry;
        std::uint32_t length = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::span<const std::uint8_t> text;
        std::span<const std::uint8_t> levels;
        if (!reader.Take16(&length) || !reader.Take(length, &text) || !reader.Take16(&width) ||
            !reader.Take16(&height) || !reader.Take(std::size_t{width} * height, &levels)) {
            return false;
        }
        entry.utf8.assign(text.begin(), text.end());
        entry.line.width = static_cast<std::int32_t>(width);
        entry.line.height = static_cast<std::int32_t>(height);
        entry.line.levels.assign(levels.begin(), levels.end());
        read.entries.push_back(std::move(entry));
    }
    if (!reader.AtEnd()) return false;
    *atlas = std::move(read);
    return true;
}

}  // namespace platform::common::text_atlas
