#include "platform/common/text.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#include "platform/common/surface.h"

namespace platform::common {

std::string Cp1250ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    // Opened once: every text line passes through here.
    static iconv_t converter = iconv_open("UTF-8", "CP1250");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        for (char c : text) out.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
        return out;
    }
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        std::array<char, 256> buffer{};
        char* outPointer = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.push_back('?');  // an undefined byte: skip it
            ++in;
            --inLeft;
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
