// Text for both backends: DejaVu fonts through SDL_ttf (glyph rendering only,
// no window), strings converted from code page 1250 with iconv.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform::common {

enum class Face { Sans, SansBold, SerifBold };

// The one font of TextOut: DejaVu Sans whose cells are 17 pixels high, so that
// lines 20 pixels apart never overlap and the longest option label fits in
// front of its arrow.
constexpr Face kScreenFace = Face::Sans;
constexpr int kScreenFontSize = 14;

// Bytes that code page 1250 leaves undefined become '?'.
std::string Cp1250ToUtf8(std::string_view text);

struct TextSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
// False when the font file cannot be opened.
bool MeasureText(Face face, int size, const std::string& utf8, TextSize* measured);

// Every cell filled with `background`, like GDI's opaque text.
bool DrawTextOpaque(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                    Face face, int size, Colour textColour, Colour background);
// Smoothed glyphs blended over what lies beneath.
bool DrawTextBlended(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                     Face face, int size, Colour textColour);

}  // namespace platform::common
