// Every line the game can draw, in every pair of colours the game draws text
// in, drawn by this build's text code onto a surface: one line of output per
// line and pair, a digest of its pixels. The Linux build (SDL_ttf) and the
// browser build (the lines drawn beforehand) must print the same.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/surface.h"
#include "platform/common/text.h"
#include "tools/text_lines.h"

namespace {

using platform::Colour;

// The credits, the result, the options, and each player's colour under white
// and over black.
std::vector<std::pair<Colour, Colour>> GameColourPairs() {
    std::vector<std::pair<Colour, Colour>> pairs = {{0xFF0000, 0x000000}, {0x000000, 0xFFFFFF}, {0xC8C864, 0x000000}};
    for (Colour index = 1; index <= 9; ++index) {
        for (Colour player : {index * 0x140A3Cu, index * 0x143C0Au}) {
            pairs.emplace_back(0xFFFFFF, player);
            pairs.emplace_back(player, 0x000000);
        }
    }
    return pairs;
}

std::uint64_t Digest(const std::vector<std::uint16_t>& pixels) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::uint16_t pixel : pixels) {
        for (int shift : {0, 8}) {
            hash ^= static_cast<std::uint8_t>(pixel >> shift);
            hash *= 1099511628211ull;
        }
    }
    return hash;
}

}  // namespace

int main() {
    platform::SurfaceObject surface;
    surface.width = 420;
    surface.height = 24;
    int failed = 0;
    for (const std::string& line : text_lines::All()) {
        const std::string utf8 = platform::common::Cp1250ToUtf8(line);
        for (const auto& [text, back] : GameColourPairs()) {
            surface.pixels.assign(static_cast<std::size_t>(surface.width * surface.height), 0x5555);
            const bool drawn = platform::common::DrawTextOpaque(&surface, 2, 3, utf8, platform::common::kScreenFace,
                                                                platform::common::kScreenFontSize, text, back);
            if (!drawn) ++failed;
            std::printf("%016llx %06x %06x %s\n", drawn ? static_cast<unsigned long long>(Digest(surface.pixels)) : 0ull,
                        text, back, utf8.c_str());
        }
    }
    return failed == 0 ? 0 : 1;
}
