#include "platform/common/text.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/common/surface.h"

namespace platform::common {

namespace {

// The code points of bytes 0x80 to 0xFF; 0 where the code page defines none.
constexpr std::array<std::uint16_t, 128> kUpperHalf = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

void AppendUtf8(std::string& out, std::uint32_t point) {
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (point >> 6)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

}  // namespace

std::string Cp1250ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const std::uint32_t point = byte < 0x80 ? byte : kUpperHalf[byte - 0x80];
        if (byte >= 0x80 && point == 0) {
            out.push_back('?');
        } else {
            AppendUtf8(out, point);
        }
    }
    return out;
}

std::uint16_t ShadePixel(Colour textColour, Colour background, std::uint8_t level) {
    Colour mixed = 0;
    for (unsigned shift = 0; shift < 24; shift += 8) {
        const int b = static_cast<int>((background >> shift) & 0xFF);
        const int t = static_cast<int>((textColour >> shift) & 0xFF);
        // C++ division rounds toward zero, also for a darker text colour.
        mixed |= static_cast<Colour>(b + level * (t - b) / 255) << shift;
    }
    return ToPixel(mixed);
}

bool DrawTextOpaque(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                    Face face, int size, Colour textColour, Colour background) {
    if (surface == nullptr) return false;
    const ShadedLine* line = ShapeLine(face, size, utf8);
    if (line == nullptr) return false;
    if (line->width == 0) return true;
    std::array<std::uint16_t, 256> shade{};
    for (unsigned level = 0; level < shade.size(); ++level) {
        shade[level] = ShadePixel(textColour & 0xFFFFFF, background & 0xFFFFFF,
                                  static_cast<std::uint8_t>(level));
    }
    const std::int64_t first = std::max<std::int64_t>(0, -std::int64_t{x});
    const std::int64_t end = std::min<std::int64_t>(line->width, std::int64_t{surface->width} - x);
    for (std::int32_t row = 0; row < line->height && first < end; ++row) {
        const std::int64_t ty = std::int64_t{y} + row;
        if (ty < 0 || ty >= surface->height) continue;
        const std::uint8_t* source = line->levels.data() + static_cast<std::ptrdiff_t>(row) * line->width;
        auto target = surface->pixels.begin() + static_cast<std::ptrdiff_t>(ty * surface->width + x + first);
        for (std::int64_t column = first; column < end; ++column) *target++ = shade[source[column]];
    }
    MarkDrawn(*surface, {x, y, static_cast<std::int32_t>(std::int64_t{x} + line->width), y + line->height});
    return true;
}

namespace {

TextObserver& Observer() {
    static TextObserver observer;
    return observer;
}

}  // namespace

void ObserveTextOut(TextObserver observer) { Observer() = std::move(observer); }

}  // namespace platform::common

namespace platform {

bool TextOut(DrawingContext context, std::int32_t x, std::int32_t y, const char* text,
             std::int32_t length) {
    if (context == nullptr || text == nullptr || length < 0) return false;
    if (common::Observer()) common::Observer()(std::string_view(text, static_cast<std::size_t>(length)));
    const std::string utf8 =
        common::Cp1250ToUtf8(std::string_view(text, static_cast<std::size_t>(length)));
    return common::DrawTextOpaque(context->surface, x, y, utf8, common::kScreenFace,
                                  common::kScreenFontSize, context->text, context->background);
}

}  // namespace platform
