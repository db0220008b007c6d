// The text's coverage levels, the colours put on them, and the file of lines
// the browser build draws from.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/common/surface.h"
#include "platform/common/text.h"
#include "platform/common/text_atlas.h"
#include "tests/support/cp1250.h"
#include "tools/text_lines.h"

namespace {

using platform::Colour;
using namespace platform::common;

// Every pair of colours the game writes in: the credits, the result, the
// options, and each player's colour under or over white and black.
std::vector<std::pair<Colour, Colour>> GameColourPairs() {
    std::vector<std::pair<Colour, Colour>> pairs = {
        {0xFF0000, 0x000000}, {0x000000, 0xFFFFFF}, {0xC8C864, 0x000000}};
    for (Colour index = 1; index <= 9; ++index) {
        for (Colour player : {index * 0x140A3Cu, index * 0x143C0Au}) {
            pairs.emplace_back(0xFFFFFF, player);
            pairs.emplace_back(player, 0x000000);
        }
    }
    return pairs;
}

// The line as SDL_ttf's shaded rendering draws it in the two colours, with
// SDL's own palette, stored as RGB565: what the Linux build showed before
// the levels were separated from the colours.
std::vector<std::uint16_t> SdlShaded(TTF_Font* font, const std::string& utf8, Colour text, Colour back,
                                     int* width) {
    const auto sdl = [](Colour c) {
        return SDL_Color{static_cast<Uint8>(c & 0xFF), static_cast<Uint8>((c >> 8) & 0xFF),
                         static_cast<Uint8>((c >> 16) & 0xFF), 255};
    };
    SDL_Surface* rendered = TTF_RenderUTF8_Shaded(font, utf8.c_str(), sdl(text), sdl(back));
    std::vector<std::uint16_t> pixels;
    if (rendered != nullptr) {
        const int height = TTF_FontHeight(font);
        *width = rendered->w;
        pixels.assign(static_cast<std::size_t>(rendered->w * height), ToPixel(back));
        for (int y = 0; y < rendered->h && y < height; ++y) {
            for (int x = 0; x < rendered->w; ++x) {
                const SDL_Color c =
                    rendered->format->palette->colors[static_cast<const Uint8*>(rendered->pixels)[y * rendered->pitch + x]];
                pixels[static_cast<std::size_t>(y * rendered->w + x)] =
                    ToPixel(Colour{c.r} | (Colour{c.g} << 8) | (Colour{c.b} << 16));
            }
        }
        SDL_FreeSurface(rendered);
    }
    return pixels;
}

// Every byte as the C library reads the code page; one it refuses becomes '?'.
TEST(Text, Cp1250ToUtf8ReadsEveryByteAsIconvDoes) {
    std::string all;
    std::string expected;
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string reading = test_support::IconvCp1250ToUtf8(one).value_or("?");
        EXPECT_EQ(Cp1250ToUtf8(one), reading) << "byte " << byte;
        all += one;
        expected += reading;
    }
    EXPECT_EQ(Cp1250ToUtf8(all), expected);
}

TEST(Text, EveryGameLineInEveryGameColourIsSdlTtfsShadedLine) {
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", kScreenFontSize);
    ASSERT_NE(font, nullptr);
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    TTF_SetFontKerning(font, 1);
    platform::SurfaceObject surface;
    surface.width = 400;
    surface.height = 20;
    int compared = 0;
    for (const std::string& line : text_lines::All()) {
        const std::string utf8 = Cp1250ToUtf8(line);
        for (const auto& [text, back] : GameColourPairs()) {
            int width = 0;
            const std::vector<std::uint16_t> expected = SdlShaded(font, utf8, text, back, &width);
            ASSERT_FALSE(expected.empty()) << utf8;
            surface.pixels.assign(400 * 20, 0x1234);
            ASSERT_TRUE(DrawTextOpaque(&surface, 0, 0, utf8, kScreenFace, kScreenFontSize, text, back));
            const int height = static_cast<int>(expected.size()) / width;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    ASSERT_EQ(surface.pixels[static_cast<std::size_t>(y * 400 + x)],
                              expected[static_cast<std::size_t>(y * width + x)])
                        << utf8 << " at (" << x << ", " << y << ") in " << std::hex << text << " on " << back;
                }
            }
            EXPECT_EQ(surface.pixels[static_cast<std::size_t>(width)], 0x1234) << "drawn past the line's end";
            ++compared;
        }
    }
    EXPECT_GT(compared, 100 * 30);
    TTF_CloseFont(font);
    TTF_Quit();
}

TEST(Text, ALevelIsTheShareOfTheWayFromTheBackgroundToTheText) {
    EXPECT_EQ(ShadePixel(0xFFFFFF, 0x000000, 0), ToPixel(0x000000));
    EXPECT_EQ(ShadePixel(0xFFFFFF, 0x000000, 255), ToPixel(0xFFFFFF));
    // Toward a darker text colour the share is rounded toward zero too:
    // 255 - 128 * 255 / 255 = 127, and 200 + 1 * (0 - 200) / 255 = 200.
    EXPECT_EQ(ShadePixel(0x000000, 0xFFFFFF, 128), ToPixel(0x7F7F7F));
    EXPECT_EQ(ShadePixel(0x000000, 0x0000C8, 1), ToPixel(0x0000C8));
}

text_atlas::Atlas GameLines() {
    text_atlas::Atlas atlas{kScreenFace, kScreenFontSize, {}};
    for (const std::string& line : text_lines::All()) {
        const std::string utf8 = Cp1250ToUtf8(line);
        const ShadedLine* shaded = ShapeLine(kScreenFace, kScreenFontSize, utf8);
        if (shaded != nullptr) atlas.entries.push_back({utf8, *shaded});
    }
    return atlas;
}

TEST(TextAtlas, HoldsEveryGameLineAsDrawnAndReadsBackTheSame) {
    const text_atlas::Atlas atlas = GameLines();
    ASSERT_EQ(atlas.entries.size(), text_lines::All().size());
    const std::vector<std::uint8_t> bytes = text_atlas::Encode(atlas);
    text_atlas::Atlas read;
    ASSERT_TRUE(text_atlas::Decode(bytes, &read));
    EXPECT_EQ(read.face, kScreenFace);
    EXPECT_EQ(read.size, kScreenFontSize);
    ASSERT_EQ(read.entries.size(), atlas.entries.size());
    for (std::size_t i = 0; i < atlas.entries.size(); ++i) {
        EXPECT_EQ(read.entries[i].utf8, atlas.entries[i].utf8);
        EXPECT_EQ(read.entries[i].line.width, atlas.entries[i].line.width);
        EXPECT_EQ(read.entries[i].line.height, atlas.entries[i].line.height);
        EXPECT_EQ(read.entries[i].line.levels, atlas.entries[i].line.levels);
    }
}

TEST(TextAtlas, RefusesEveryCutOrLengthenedFileAndAnotherKind) {
    text_atlas::Atlas atlas = GameLines();
    atlas.entries.resize(3);
    const std::vector<std::uint8_t> bytes = text_atlas::Encode(atlas);
    text_atlas::Atlas read{Face::SerifBold, 99, {}};
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        ASSERT_FALSE(text_atlas::Decode(std::span(bytes.data(), cut), &read)) << "cut at " << cut;
    }
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(text_atlas::Decode(longer, &read));
    std::vector<std::uint8_t> other = bytes;
    other[0] = 'X';
    EXPECT_FALSE(text_atlas::Decode(other, &read));
    EXPECT_EQ(read.size, 99) << "a refused file leaves the atlas as it was";
}

}  // namespace
