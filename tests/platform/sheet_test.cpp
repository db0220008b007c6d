// The committed graphics sheet: the generator still makes it byte for byte,
// and its pieces keep the properties the screens rely on.
#include <gtest/gtest.h>

#include <string>

#include "screens/load_bitmap_surface.h"
#include "screens/sheet.h"
#include "tests/support/byte_file.h"
#include "tests/support/screen_test.h"
#include "tests/support/work_folder.h"
#include "tools/sheet_art.h"

using namespace platform;

namespace {

const std::string kSheetPath = wolby_test::SourceSheet().string();

class Sheet : public wolby_test::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        g_sheetSurface = LoadBitmapSurface(g_directDraw, kSheetPath.c_str());
        ASSERT_NE(g_sheetSurface, nullptr);
    }
    // Shows the piece at (0, 0) of a black screen.
    static void Show(const Rect& piece) {
        Paint({0, 0, 800, 600}, 0);
        ASSERT_TRUE(BltFast(g_primarySurface, 0, 0, g_sheetSurface, &piece, 0));
    }
};

TEST(SheetFile, GeneratorReproducesTheCommittedSheet) {
    const wolby_test::Bytes committed = wolby_test::ReadBytes(kSheetPath);
    ASSERT_FALSE(committed.empty()) << kSheetPath;
    const std::vector<std::uint8_t> drawn = sheet_art::SheetFile();
    ASSERT_EQ(drawn.size(), committed.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) differing += drawn[i] != committed[i];
    EXPECT_EQ(differing, 0u) << "rebuild it with the wolby_sheet target and look at it";
}

TEST_F(Sheet, IsSixHundredFortyByFourHundredEighty) {
    std::int32_t w = 0, h = 0;
    GetSurfaceSize(g_sheetSurface, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

TEST_F(Sheet, MenuItemsKeepTheirMarkerColumnBlackAndShowALabel) {
    Show(sheet::MenuPicture);
    for (int item = 0; item < 4; ++item) {
        const int top = 120 + 50 * item;
        int lit = 0;
        for (int y = top; y < top + 50; ++y) {
            for (int x = 0; x < 50; ++x) ASSERT_EQ(At(x, y), 0u) << x << "," << y;
            // The label: bright pixels in the band's left part.
            for (int x = 60; x < 200; ++x) lit += (At(x, y) & 0xFF) > 200 && ((At(x, y) >> 16) & 0xFF) > 180;
        }
        EXPECT_GT(lit, 60) << "item " << item;
    }
}

TEST_F(Sheet, DiscOverlayIsTransparentOutsideTheDiscAndHighlightsInside) {
    Show(sheet::DiscOverlay);
    // Corners of the stretched square lie outside the disc.
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 47}, {49, 47}, {3, 3}, {46, 44}}) {
        EXPECT_EQ(headless::RawPixelAt(x, y), 0) << x << "," << y;
    }
    int highlight = 0;
    int outside = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 50; ++x) {
            const double dx = (x + 0.5 - 25) / 25;
            const double dy = (y + 0.5 - 24) / 24;
            const bool pixel = headless::RawPixelAt(x, y) != 0;
            if (dx * dx + dy * dy > 1) outside += pixel;
            else highlight += pixel;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_GT(highlight, 40);
    EXPECT_LT(highlight, 50 * 48 / 3);  // most of the disc shows through
}

TEST_F(Sheet, PiecesAreDrawnAndTheFrameTilesDiffer) {
    const Rect pieces[] = {sheet::MenuMarker, sheet::BackButton, sheet::SquareTile, sheet::GameFrameTile,
                           sheet::OptionsFrameTile, sheet::ArrowLeft, sheet::ArrowRight, sheet::CreditsStrip};
    for (const Rect& piece : pieces) {
        Show(piece);
        int drawn = 0;
        for (int y = 0; y < piece.bottom - piece.top; ++y)
            for (int x = 0; x < piece.right - piece.left; ++x) drawn += headless::RawPixelAt(x, y) != 0;
        EXPECT_GT(drawn, (piece.right - piece.left) * (piece.bottom - piece.top) / 5)
            << piece.left << "," << piece.top;
    }
    Show(sheet::GameFrameTile);
    std::vector<Colour> game;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) game.push_back(At(x, y));
    Show(sheet::OptionsFrameTile);
    int same = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x) same += game[static_cast<std::size_t>(y * 50 + x)] == At(x, y);
    EXPECT_LT(same, 50);
}

TEST_F(Sheet, ArrowsPointOppositeWays) {
    // Each arrow's tip column is the one with the fewest lit pixels.
    const auto litColumns = [](const Rect& piece) {
        Show(piece);
        std::vector<int> lit(25, 0);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 25; ++x) lit[static_cast<std::size_t>(x)] += headless::RawPixelAt(x, y) != 0;
        return lit;
    };
    const auto left = litColumns(sheet::ArrowLeft);
    const auto right = litColumns(sheet::ArrowRight);
    EXPECT_LT(left[3], left[20]);
    EXPECT_GT(right[3], right[20]);
}

}  // namespace
