// Text for every emulating backend: one line of the game's font drawn opaque,
// from the line's glyph coverage and the two colours. Where the coverage comes
// from is the build's: DejaVu through SDL_ttf on Linux (text_ttf.cpp), a table
// of the game's lines made by that same code in the browser (web/web_text.cpp).
// Strings are converted from code page 1250 by a table of its own (the
// browser's C library would bring every code page).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// One line's glyph coverage: a level per pixel, 0 the background's colour and
// 255 the text's. The cell is the font's full height even where the glyphs are
// shorter. The levels do not depend on the colours.
struct ShadedLine {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> levels;  // row after row
};
// The coverage of the UTF-8 line in the face and size, or null when it cannot
// be had (no font file; a line the browser's table does not hold). Valid until
// the next call.
const ShadedLine* ShapeLine(Face face, int size, const std::string& utf8);

// The pixel of a level: per channel background + level * (text - background) / 255,
// rounded toward zero, then stored as RGB565.
std::uint16_t ShadePixel(Colour textColour, Colour background, std::uint8_t level);

// Told every line TextOut is asked to draw (code page 1250); null: nobody.
using TextObserver = std::function<void(std::string_view line)>;
void ObserveTextOut(TextObserver observer);

// Every cell filled with `background`, like GDI's opaque text.
bool DrawTextOpaque(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                    Face face, int size, Colour textColour, Colour background);

// Only where SDL_ttf is (the Linux build and its tools):
struct TextSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
// False when the font file cannot be opened.
bool MeasureText(Face face, int size, const std::string& utf8, TextSize* measured);
// Smoothed glyphs blended over what lies beneath.
bool DrawTextBlended(Surface surface, std::int32_t x, std::int32_t y, const std::string& utf8,
                     Face face, int size, Colour textColour);

}  // namespace platform::common
