// LoadBitmapSurface on the files it may meet: every common BMP layout, files of
// another size, and missing, truncated or foreign files, which must give null.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/common/bitmap_header.h"
#include "screens/load_bitmap_surface.h"
#include "tests/support/screen_test.h"
#include "tests/support/bmp_file.h"
#include "tests/support/byte_file.h"
#include "tests/support/work_folder.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

using wolby_test::Bytes;

// The test picture: colour of (x, y) out of a small palette, so that every
// depth can hold it exactly.
const Colour kPalette[4] = {0x000000, 0x0000FF, 0x00FF00, 0xFFFFFF};
// A two-colour bitmap can hold only the first two.
int IndexAt(int x, int y, int bits) { return bits == 1 ? (x + y) % 2 : (x + 2 * y) % 4; }

// A BMP of the test picture with the given depth (1, 4, 8 palettised; 24; 32).
Bytes MakeBmp(int width, int height, int bits, bool topDown) {
    wolby_test::BmpPicture picture(width, height, bits);
    picture.topDown = topDown;
    if (bits <= 8) {
        for (int i = 0; i < (1 << bits); ++i) picture.palette.push_back(kPalette[i % 4]);
        picture.at = [bits](std::int32_t x, std::int32_t y) { return static_cast<std::uint32_t>(IndexAt(x, y, bits)); };
    } else {
        picture.at = [bits](std::int32_t x, std::int32_t y) { return kPalette[IndexAt(x, y, bits)]; };
    }
    return wolby_test::BmpFile(picture);
}

class Bitmaps : public wolby_test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ASSERT_FALSE(folder_.Path().empty());
        ASSERT_TRUE(std::filesystem::create_directories(folder_.Path() / "zdj"));
    }
    std::string Write(const std::string& name, const Bytes& bytes) {
        const auto path = folder_.Path() / name;
        EXPECT_TRUE(wolby_test::WriteBytes(path, bytes)) << path;
        return path.string();
    }
    // Shows the loaded surface on the screen and checks it against the test picture.
    static void ExpectPicture(Surface surface, int width, int height, int bits = 24) {
        ASSERT_NE(surface, nullptr);
        std::int32_t w = 0, h = 0;
        GetSurfaceSize(surface, &w, &h);
        ASSERT_EQ(w, width);
        ASSERT_EQ(h, height);
        ASSERT_TRUE(BltFast(g_primarySurface, 0, 0, surface, nullptr, 0));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) ASSERT_EQ(At(x, y), kPalette[IndexAt(x, y, bits)]) << x << "," << y;
    }

    wolby_test::WorkFolder folder_{"wolby-bitmaps"};
};

TEST_F(Bitmaps, EveryCommonLayoutLoadsAtItsOwnSize) {
    for (int bits : {1, 4, 8, 24, 32}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(bits) + (topDown ? " top-down" : " bottom-up"));
            // Odd widths exercise the row padding.
            const std::string path = Write("p.bmp", MakeBmp(37, 23, bits, topDown));
            const int before = hl::LiveSurfaces();
            Surface surface = LoadBitmapSurface(g_directDraw, path.c_str());
            EXPECT_EQ(hl::LiveSurfaces(), before + 1);
            ExpectPicture(surface, 37, 23, bits);
        }
    }
}

TEST_F(Bitmaps, BackslashInTheNameIsTheFolderSeparator) {
    Write("zdj/15.bmp", MakeBmp(640, 480, 24, false));
    const std::string name = (folder_.Path() / "zdj").string() + "\\15.bmp";
    ExpectPicture(LoadBitmapSurface(g_directDraw, name.c_str()), 640, 480);
}

TEST_F(Bitmaps, MissingTruncatedAndForeignFilesGiveNoSurface) {
    const Bytes good = MakeBmp(40, 30, 24, false);
    std::vector<std::pair<std::string, Bytes>> bad = {
        {"empty.bmp", {}},
        {"text.bmp", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}},
        {"header_only.bmp", Bytes(good.begin(), good.begin() + 30)},
        {"short_pixels.bmp", Bytes(good.begin(), good.end() - 200)},
    };
    Bytes png = good;  // a PNG signature where "BM" belongs
    png[0] = 0x89;
    png[1] = 'P';
    bad.emplace_back("png.bmp", png);
    Bytes huge = good;  // claims a width it does not have
    huge[18] = 0xFF;
    huge[19] = 0xFF;
    huge[20] = 0xFF;
    huge[21] = 0x7F;
    bad.emplace_back("huge.bmp", huge);
    // A complete 1-bit picture of 8192 x 4096: a 4 MB file whose pixels would
    // take gigabytes once widened.
    bad.emplace_back("vast.bmp", MakeBmp(8192, 4096, 1, false));
    Bytes rle = MakeBmp(40, 30, 8, false);
    rle[30] = 1;  // run-length compressed
    bad.emplace_back("rle.bmp", rle);
    Bytes palette = MakeBmp(8, 8, 8, false);
    palette[46] = 0x00;  // 4096 colours used: more than a palette can hold
    palette[47] = 0x10;
    bad.emplace_back("palette.bmp", palette);

    const int before = hl::LiveSurfaces();
    EXPECT_EQ(LoadBitmapSurface(g_directDraw, (folder_.Path() / "none.bmp").string().c_str()), nullptr);
    EXPECT_EQ(LoadBitmapSurface(g_directDraw, folder_.Path().string().c_str()), nullptr);  // a folder
    for (const auto& [name, bytes] : bad) {
        EXPECT_EQ(LoadBitmapSurface(g_directDraw, Write(name, bytes).c_str()), nullptr) << name;
    }
    EXPECT_EQ(hl::LiveSurfaces(), before);
    // Every prefix of a good file is refused, never read past its end.
    for (std::size_t cut = 0; cut < good.size(); cut += 97) {
        const Bytes prefix(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
        ASSERT_EQ(LoadBitmapSurface(g_directDraw, Write("cut.bmp", prefix).c_str()), nullptr) << cut;
    }
}

// The Windows loader reads only the first bytes of a file and asks this before
// LoadImageA: the headers alone must decide, with the pixels far away or absent.
TEST(BitmapHeader, TheHeadersAloneDecideAndTheSizeRuleHolds) {
    namespace common = platform::common;
    const auto head = [](const Bytes& file) {
        return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(file.size(), common::kBitmapHeadersSize)));
    };
    const auto read = [](const Bytes& bytes, common::BitmapHeader* header) {
        return common::ReadBitmapHeader(bytes.data(), bytes.size(), header);
    };
    common::BitmapHeader h;
    ASSERT_TRUE(read(head(MakeBmp(640, 480, 24, false)), &h));
    EXPECT_EQ(h.width, 640);
    EXPECT_EQ(h.height, 480);
    EXPECT_EQ(h.bitCount, 24u);
    EXPECT_FALSE(h.topDown);
    ASSERT_TRUE(read(head(MakeBmp(37, 23, 8, true)), &h));
    EXPECT_EQ(h.height, 23);
    EXPECT_TRUE(h.topDown);
    EXPECT_EQ(h.pixelOffset, 54u + 4u * 256u);

    // A 1-bit file's headers with the size patched in: what a small file can claim.
    const auto claiming = [](std::int32_t width, std::int32_t height) {
        Bytes bytes(MakeBmp(8, 8, 1, false));
        for (int i = 0; i < 4; ++i) {
            bytes[static_cast<std::size_t>(18 + i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(width) >> (8 * i));
            bytes[static_cast<std::size_t>(22 + i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(height) >> (8 * i));
        }
        return Bytes(bytes.begin(), bytes.begin() + 62);
    };
    EXPECT_TRUE(read(claiming(4096, 4096), &h));
    EXPECT_TRUE(read(claiming(4096, -4096), &h));
    EXPECT_TRUE(read(claiming(16384, 1), &h));
    EXPECT_FALSE(read(claiming(4097, 4096), &h));
    EXPECT_FALSE(read(claiming(4096, -4097), &h));
    EXPECT_FALSE(read(claiming(16385, 1), &h));
    EXPECT_FALSE(read(claiming(1, 16385), &h));
    EXPECT_FALSE(read(claiming(0, 10), &h));
    EXPECT_FALSE(read(claiming(-8, 8), &h));

    Bytes core{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 0x80, 0x02, 0xE0, 0x01, 1, 0, 24, 0};
    ASSERT_TRUE(read(core, &h));
    EXPECT_EQ(h.width, 640);
    EXPECT_EQ(h.paletteEntrySize, 3u);
    core.pop_back();  // the core header cut short
    EXPECT_FALSE(read(core, &h));

    Bytes planes = claiming(8, 8);
    planes[26] = 2;
    EXPECT_FALSE(read(planes, &h));
    // An info header longer than what was read, or of no known size.
    EXPECT_FALSE(read(Bytes(planes.begin(), planes.begin() + 53), &h));
    Bytes odd = claiming(8, 8);
    odd[14] = 20;
    EXPECT_FALSE(read(odd, &h));
}

TEST_F(Bitmaps, ALastRowWithoutItsPaddingIsStillAccepted) {
    Bytes bytes = MakeBmp(37, 5, 24, false);
    bytes.resize(bytes.size() - 1);  // 37 * 3 = 111 bytes, padded to 112
    ExpectPicture(LoadBitmapSurface(g_directDraw, Write("p.bmp", bytes).c_str()), 37, 5);
}

TEST_F(Bitmaps, NoSurfaceMeansNoPictureAndNoContextMeansAnEmptySurface) {
    const std::string path = Write("p.bmp", MakeBmp(12, 10, 24, false));
    hl::SetFault(hl::Fault::CreateOffscreenSurface, true);
    EXPECT_EQ(LoadBitmapSurface(g_directDraw, path.c_str()), nullptr);
    hl::SetFault(hl::Fault::CreateOffscreenSurface, false);

    hl::SetFault(hl::Fault::GetDC, true);
    Surface blank = LoadBitmapSurface(g_directDraw, path.c_str());
    hl::SetFault(hl::Fault::GetDC, false);
    ASSERT_NE(blank, nullptr);
    Paint({0, 0, 20, 20}, 0x00FF00);
    ASSERT_TRUE(BltFast(g_primarySurface, 0, 0, blank, nullptr, 0));
    EXPECT_EQ(At(1, 0), 0u);  // the picture would have red here
    EXPECT_EQ(At(11, 9), 0u);
}

}  // namespace
