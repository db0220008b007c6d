// The shared Blt's stretching against what DirectDraw itself takes: the dump in
// tests/cross/blt_stretch.txt, made by tests/cross/blt_stretch_dump.cpp under
// Wine. The game's two stretches (the disc's highlight, keyed, and the credits'
// strip) as whole pictures, and every length of 1..64 onto every length of
// 1..64 along each axis, must take the same source pixels.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/common/surface.h"
#include "tests/support/screen_test.h"

using namespace platform;

namespace {

// For each source length and destination length: the source pixel each
// destination pixel takes, from the first.
using Stretches = std::map<std::pair<int, int>, std::vector<int>>;

Stretches ReadDump() {
    std::ifstream file(WOLBY_SOURCE_DIR "/tests/cross/blt_stretch.txt");
    EXPECT_TRUE(file) << "tests/cross/blt_stretch.txt cannot be read";
    Stretches stretches;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string word;
        int from = 0, to = 0;
        in >> word >> from >> to;
        EXPECT_TRUE(in && word == "stretch") << line;
        std::vector<int> taken;
        int source = 0;
        std::string token;
        while (in >> token) {
            const std::size_t star = token.find('*');
            const int run = star == std::string::npos ? 1 : std::stoi(token.substr(star + 1));
            for (int i = 0; i < run; ++i, ++source) taken.insert(taken.end(), static_cast<std::size_t>(token[0] - '0'), source);
        }
        EXPECT_EQ(source, from) << line;
        EXPECT_EQ(taken.size(), static_cast<std::size_t>(to)) << line;
        stretches[{from, to}] = taken;
    }
    return stretches;
}

class BltStretch : public wolby_test::ScreenTest {
protected:
    // A surface whose every pixel carries its own column + 1 (or row + 1): no
    // pixel is black, the colour key.
    static Surface Numbered(std::int32_t width, std::int32_t height, bool rows) {
        Surface surface = nullptr;
        EXPECT_TRUE(CreateOffscreenSurface(g_directDraw, width, height, &surface));
        for (std::int32_t y = 0; y < height; ++y)
            for (std::int32_t x = 0; x < width; ++x)
                surface->pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint16_t>((rows ? y : x) + 1);
        return surface;
    }

    // The source column (or row) each destination column (row) of `to` took
    // when the whole numbered source was blitted there on the screen.
    static std::vector<int> Taken(std::int32_t width, std::int32_t height, Rect to, bool rows, unsigned flags) {
        Surface source = Numbered(width, height, rows);
        if ((flags & DDBLT_KEYSRC) != 0) SetColorKey(source, DDCKEY_SRCBLT, 0, 0);
        EXPECT_TRUE(Blt(g_primarySurface, &to, source, nullptr, flags));
        std::vector<int> taken;
        const std::int32_t length = rows ? to.bottom - to.top : to.right - to.left;
        for (std::int32_t i = 0; i < length; ++i) {
            const std::int32_t x = rows ? to.left : to.left + i, y = rows ? to.top + i : to.top;
            const std::uint16_t pixel = g_primarySurface->pixels[static_cast<std::size_t>(y * 800 + x)];
            taken.push_back(pixel - 1);
        }
        return taken;
    }
};

TEST_F(BltStretch, TheGamesTwoStretchesTakeTheSourcePixelsDirectDrawTakes) {
    const Stretches dump = ReadDump();
    ASSERT_TRUE(dump.count({48, 50}) && dump.count({300, 600}));
    // The highlight: 50 x 48 onto a 50 x 50 square, with the source colour key.
    const unsigned keyed = DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ALPHADEST;
    const Rect square{100, 100, 150, 150};
    EXPECT_EQ(Taken(50, 48, square, false, keyed), dump.at({50, 50}));
    EXPECT_EQ(Taken(50, 48, square, true, keyed), dump.at({48, 50}));
    // The credits' strip: 100 x 300 onto 100 x 600.
    const Rect strip{700, 0, 800, 600};
    EXPECT_EQ(Taken(100, 300, strip, false, DDBLT_WAIT), dump.at({100, 100}));
    EXPECT_EQ(Taken(100, 300, strip, true, DDBLT_WAIT), dump.at({300, 600}));
}

TEST_F(BltStretch, EveryLengthUpTo64OntoEveryLengthUpTo64TakesTheSourcePixelsDirectDrawTakes) {
    const Stretches dump = ReadDump();
    int lengths = 0, failures = 0;
    for (int from = 1; from <= 64; ++from) {
        for (int to = 1; to <= 64; ++to) {
            if (!dump.count({from, to})) continue;
            ++lengths;
            const std::vector<int>& want = dump.at({from, to});
            // Along x at an even place, along y at an odd one.
            const std::vector<int> columns = Taken(from, 3, {32, 16, 32 + to, 19}, false, DDBLT_WAIT);
            const std::vector<int> rows = Taken(3, from, {101, 201, 104, 201 + to}, true, DDBLT_WAIT);
            if ((columns != want || rows != want) && ++failures <= 5) {
                ADD_FAILURE() << from << " onto " << to << " takes otherwise than DirectDraw";
            }
        }
    }
    EXPECT_EQ(lengths, 64 * 64);
    EXPECT_EQ(failures, 0);
}

}  // namespace
