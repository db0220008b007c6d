// Pixel-level behaviour of the shared drawing code, seen on the headless screen.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>
#include <set>

#include "platform/common/surface.h"
#include "screens/put_text.h"
#include "tests/support/rect.h"
#include "tests/support/screen_test.h"

using wolby_test::Q;
using namespace platform;

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlack = 0;

class Drawing : public wolby_test::ScreenTest {
protected:
    // The box of pixels differing from `ground` inside `area`.
    static Rect ChangedBox(Rect area, Colour ground) {
        Rect box{area.right, area.bottom, area.left, area.top};
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            for (std::int32_t x = area.left; x < area.right; ++x) {
                if (At(x, y) == Q(ground)) continue;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
        return box;
    }
};

TEST_F(Drawing, RectangleIsFilledAndOutlinedInsideItsBoxWithRightAndBottomExcluded) {
    Paint({0, 0, 100, 100}, kWhite);
    DrawingContext dc = GetDC(g_primarySurface);
    ASSERT_NE(dc, nullptr);
    Brush red = CreateSolidBrush(kRed);
    Brush stock = SelectObject(dc, red);
    EXPECT_NE(stock, nullptr);
    EXPECT_TRUE(Rectangle(dc, 10, 20, 30, 40));
    // The same box given corner-swapped draws the same thing.
    EXPECT_TRUE(Rectangle(dc, 80, 60, 60, 40));
    EXPECT_EQ(SelectObject(dc, stock), red);
    ReleaseDC(g_primarySurface, dc);
    DeleteObject(red);

    EXPECT_EQ(ChangedBox({0, 0, 50, 50}, kWhite), (Rect{10, 20, 30, 40}));
    for (std::int32_t x = 10; x < 30; ++x) {
        EXPECT_EQ(At(x, 20), kBlack) << x;
        EXPECT_EQ(At(x, 39), kBlack) << x;
    }
    for (std::int32_t y = 20; y < 40; ++y) {
        EXPECT_EQ(At(10, y), kBlack) << y;
        EXPECT_EQ(At(29, y), kBlack) << y;
    }
    EXPECT_EQ(At(11, 21), Q(kRed));
    EXPECT_EQ(At(28, 38), Q(kRed));
    const Rect swapped = ChangedBox({50, 30, 100, 100}, kWhite);
    EXPECT_EQ(swapped, (Rect{60, 40, 80, 60}));
}

TEST_F(Drawing, FreshContextFillsWithWhiteAndSmallBoxesAreAllPen) {
    Paint({0, 0, 50, 50}, kGreen);
    DrawingContext dc = GetDC(g_primarySurface);
    Rectangle(dc, 5, 5, 10, 10);
    Rectangle(dc, 20, 20, 22, 22);
    ReleaseDC(g_primarySurface, dc);
    EXPECT_EQ(At(7, 7), kWhite);
    for (auto [x, y] : {std::pair{20, 20}, {21, 20}, {20, 21}, {21, 21}}) EXPECT_EQ(At(x, y), kBlack);
    EXPECT_EQ(At(22, 22), Q(kGreen));
}

TEST_F(Drawing, GrowingDiscEllipsesAreRoundCentredAndTheLastFillsTheSquare) {
    Paint({90, 90, 160, 160}, kGreen);
    DrawingContext dc = GetDC(g_primarySurface);
    Brush brush = CreateSolidBrush(kRed);
    Brush old = SelectObject(dc, brush);
    // The first alone: its box is exactly the 30 x 30 middle of the square.
    Ellipse(dc, 110, 110, 140, 140);
    const Rect first = ChangedBox({90, 90, 160, 160}, kGreen);
    EXPECT_EQ(first, (Rect{110, 110, 140, 140}));
    for (int i = 1; i < 6; ++i) Ellipse(dc, 110 - 2 * i, 110 - 2 * i, 140 + 2 * i, 140 + 2 * i);
    SelectObject(dc, old);
    ReleaseDC(g_primarySurface, dc);
    DeleteObject(brush);

    const Rect last = ChangedBox({90, 90, 160, 160}, kGreen);
    EXPECT_EQ(last, (Rect{100, 100, 150, 150}));
    // Symmetric about both axes and the diagonal.
    for (std::int32_t y = 100; y < 150; ++y) {
        for (std::int32_t x = 100; x < 150; ++x) {
            const Colour c = At(x, y);
            ASSERT_EQ(c, At(249 - x, y)) << x << "," << y;
            ASSERT_EQ(c, At(x, 249 - y)) << x << "," << y;
            ASSERT_EQ(c, At(y, x)) << x << "," << y;
        }
    }
    EXPECT_EQ(At(100, 100), Q(kGreen));  // corners stay outside the disc
    EXPECT_EQ(At(100, 125), kBlack);      // the pen touches each side
    EXPECT_EQ(At(125, 100), kBlack);
    EXPECT_EQ(At(125, 125), Q(kRed));
    // The outline is thin: along the middle row only the ends are pen.
    int pen = 0;
    for (std::int32_t x = 100; x < 150; ++x) pen += At(x, 125) == kBlack;
    EXPECT_EQ(pen, 2);
}

TEST_F(Drawing, OpaqueTextFillsEveryCellAtMostTwentyPixelsHighFromItsTopLeftCorner) {
    Paint({0, 0, 400, 100}, kGreen);
    DrawingContext dc = GetDC(g_primarySurface);
    SetBkColor(dc, kBlack);
    SetTextColor(dc, kWhite);
    const char* text = "Wyj\x9C" "cie: \xA5\xB9\xA3\xB3 Ag";  // code page 1250
    EXPECT_TRUE(TextOut(dc, 30, 40, text, static_cast<std::int32_t>(std::strlen(text))));
    ReleaseDC(g_primarySurface, dc);

    const Rect band = ChangedBox({0, 0, 400, 100}, kGreen);
    EXPECT_EQ(band.left, 30);
    EXPECT_EQ(band.top, 40);
    EXPECT_GT(band.bottom - band.top, 10);
    EXPECT_LE(band.bottom - band.top, 20);
    EXPECT_GT(band.right - band.left, 60);
    // Opaque: nothing of the ground shows through inside the band.
    EXPECT_EQ(ChangedBox(band, kGreen).left, band.left);
    for (std::int32_t y = band.top; y < band.bottom; ++y) {
        for (std::int32_t x = band.left; x < band.right; ++x) ASSERT_NE(At(x, y), Q(kGreen));
    }
    EXPECT_EQ(At(band.left, band.top), kBlack);
}

TEST_F(Drawing, TextConvertsPolishLettersFromCodePage1250) {
    // Each Polish letter must draw its own glyph: not the plain letter, not a stand-in.
    auto draw = [](const char* text) {
        Paint({0, 0, 40, 40}, kBlack);
        DrawingContext dc = GetDC(g_primarySurface);
        SetBkColor(dc, kBlack);
        SetTextColor(dc, kWhite);
        TextOut(dc, 5, 5, text, 1);
        ReleaseDC(g_primarySurface, dc);
        std::vector<Colour> pixels;
        for (std::int32_t y = 0; y < 40; ++y)
            for (std::int32_t x = 0; x < 40; ++x) pixels.push_back(At(x, y));
        return pixels;
    };
    std::set<std::vector<Colour>> seen;
    for (const char* letter : {"a", "\xB9", "l", "\xB3", "L", "\xA3", "z", "\xBF", "\x9F", "?"}) {
        EXPECT_TRUE(seen.insert(draw(letter)).second) << "byte " << +static_cast<unsigned char>(*letter);
    }
}

TEST_F(Drawing, PutTextSkipsPointsOffTheScreenAndDrawsAtTheEdges) {
    Paint({0, 0, 800, 600}, kGreen);
    const auto screenUnchanged = [] {
        return ChangedBox({0, 0, 800, 600}, kGreen).right == 0;
    };
    for (auto [x, y] : {std::pair{-1, 10}, {800, 10}, {801, 10}, {10, 600}, {10, 601}, {10, -1}}) {
        PutText("Ruch gracza 1", kWhite, kBlack, x, y);
        EXPECT_TRUE(screenUnchanged()) << x << "," << y;
    }
    // The last column and the last row are still drawn (the rest is clipped).
    PutText("W", kWhite, kRed, 799, 10);
    EXPECT_EQ(At(799, 10), Q(kRed));
    PutText("W", kWhite, kRed, 10, 599);
    EXPECT_EQ(At(10, 599), Q(kRed));
    PutText("W", kWhite, kRed, 0, 0);
    EXPECT_EQ(At(0, 0), Q(kRed));
}

TEST_F(Drawing, PutTextReadsTheScreenWidthAtEachCall) {
    // Before the mode is set the desktop's 1024 x 768 bounds apply: 801 is attempted.
    headless::Reset();
    RegisterClassEx("Wolby", &Procedure);
    g_mainWindow = CreateWindowEx("Wolby", "Wolby", 0, 0, 1024, 768);
    ASSERT_TRUE(DirectDrawCreate(&g_directDraw));
    ASSERT_TRUE(CreatePrimarySurface(g_directDraw, &g_primarySurface));
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    PutText("x", kWhite, kRed, 1025, 0);
    EXPECT_EQ(ChangedBox({0, 0, 800, 600}, kBlack).right, 0);
    // 801 is within the desktop's width, so it is attempted; the surface clips it away
    // and a line starting left of the edge still shows its first part.
    PutText("xxxx", kWhite, kRed, 801, 0);
    PutText("xxxx", kWhite, kRed, 790, 700);
    EXPECT_EQ(ChangedBox({0, 0, 800, 600}, kBlack).right, 0);
    PutText("xxxx", kWhite, kRed, 790, 0);
    EXPECT_EQ(At(790, 0), Q(kRed));
}

TEST_F(Drawing, PutTextDrawsNothingWithoutADrawingContext) {
    Paint({0, 0, 200, 50}, kGreen);
    headless::SetFault(headless::Fault::GetDC, true);
    PutText("Gracz 1", kWhite, kBlack, 10, 10);
    headless::SetFault(headless::Fault::GetDC, false);
    EXPECT_EQ(ChangedBox({0, 0, 200, 50}, kGreen).right, 0);
    PutText("Gracz 1", kWhite, kBlack, 10, 10);
    EXPECT_EQ(At(10, 10), kBlack);
}

TEST_F(Drawing, KeyedBlitLeavesBlackTransparentAndStretches) {
    Paint({0, 0, 200, 100}, kGreen);
    Surface piece = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 50, 48, &piece));
    DrawingContext dc = GetDC(piece);
    Brush white = CreateSolidBrush(kWhite);
    Brush old = SelectObject(dc, white);
    Ellipse(dc, 10, 10, 40, 38);
    SelectObject(dc, old);
    ReleaseDC(piece, dc);
    DeleteObject(white);
    ASSERT_TRUE(SetColorKey(piece, DDCKEY_SRCBLT, 0, 0));

    const Rect keyedAt{0, 0, 50, 50};
    const Rect plainAt{100, 0, 150, 50};
    EXPECT_TRUE(Blt(g_primarySurface, &keyedAt, piece, nullptr, DDBLT_WAIT | DDBLT_KEYSRC | DDBLT_ALPHADEST));
    EXPECT_TRUE(Blt(g_primarySurface, &plainAt, piece, nullptr, DDBLT_WAIT));
    EXPECT_EQ(At(2, 2), Q(kGreen));      // black around the disc let the ground show
    EXPECT_EQ(At(25, 25), kWhite);
    EXPECT_EQ(At(102, 2), kBlack);       // without the key black is copied
    EXPECT_EQ(At(125, 25), kWhite);
    EXPECT_EQ(At(25, 49), Q(kGreen));    // 48 rows stretched onto all 50
    EXPECT_EQ(At(102, 49), kBlack);
    EXPECT_EQ(At(102, 50), Q(kGreen));
}

TEST_F(Drawing, CreditsStripStretchedToTheScreenHeightRepeatsEachRowTwice) {
    Surface strip = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 140, 320, &strip));
    // Row r of the piece (40..140, 10..310) gets its own colour.
    for (std::int32_t r = 0; r < 300; ++r) {
        Fill(strip, {40, 10 + r, 140, 11 + r},
             static_cast<Colour>((r * 8) & 0xF8) | (static_cast<Colour>(r / 32 * 32) << 8));
    }
    const Rect piece{40, 10, 140, 310};
    ASSERT_TRUE(BltFast(g_primarySurface, 0, 0, strip, &piece, DDBLTFAST_NOCOLORKEY));
    std::vector<Colour> rows;
    for (std::int32_t r = 0; r < 300; ++r) rows.push_back(At(50, r));
    Paint({0, 0, 800, 600}, kGreen);
    const Rect left{0, 0, 100, 600};
    const Rect right{700, 0, 800, 600};
    ASSERT_TRUE(Blt(g_primarySurface, &left, strip, &piece, DDBLT_WAIT));
    ASSERT_TRUE(Blt(g_primarySurface, &right, strip, &piece, DDBLT_WAIT));
    for (std::int32_t y = 0; y < 600; ++y) {
        ASSERT_EQ(At(0, y), rows[static_cast<std::size_t>(y / 2)]) << y;
        ASSERT_EQ(At(99, y), rows[static_cast<std::size_t>(y / 2)]) << y;
        ASSERT_EQ(At(750, y), rows[static_cast<std::size_t>(y / 2)]) << y;
        ASSERT_EQ(At(100, y), Q(kGreen));
        ASSERT_EQ(At(699, y), Q(kGreen));
    }
}

TEST_F(Drawing, BlitsAreClippedToBothSurfaces) {
    Surface tile = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 50, 50, &tile));
    // Four quadrants of different colours.
    Fill(tile, {0, 0, 25, 25}, kRed);
    Fill(tile, {25, 0, 50, 25}, kGreen);
    Fill(tile, {0, 25, 25, 50}, 0xFF0000);
    Fill(tile, {25, 25, 50, 50}, kWhite);

    Paint({0, 0, 800, 600}, kBlack);
    EXPECT_TRUE(BltFast(g_primarySurface, -30, -30, tile, nullptr, 0));
    EXPECT_EQ(At(0, 0), Q(kWhite));      // source (30, 30)
    EXPECT_EQ(At(19, 19), Q(kWhite));
    EXPECT_EQ(At(20, 0), kBlack);
    EXPECT_TRUE(BltFast(g_primarySurface, 780, 580, tile, nullptr, 0));
    EXPECT_EQ(At(799, 599), Q(kRed));    // source (19, 19)
    EXPECT_EQ(At(780, 580), Q(kRed));
    // A source rectangle reaching past its surface copies only what exists.
    const Rect beyond{40, 40, 90, 90};
    EXPECT_TRUE(BltFast(g_primarySurface, 400, 300, tile, &beyond, 0));
    EXPECT_EQ(At(409, 309), Q(kWhite));
    EXPECT_EQ(At(410, 310), kBlack);
    // Stretched, half off the left edge: the visible half is the source's right half.
    const Rect half{-100, 100, 100, 300};
    EXPECT_TRUE(Blt(g_primarySurface, &half, tile, nullptr, DDBLT_WAIT));
    EXPECT_EQ(At(0, 100), Q(kGreen));
    EXPECT_EQ(At(99, 299), Q(kWhite));
    // Entirely off the screen: nothing happens and nothing fails loudly.
    const Rect away{900, 700, 950, 750};
    EXPECT_TRUE(Blt(g_primarySurface, &away, tile, nullptr, DDBLT_WAIT));
    EXPECT_TRUE(BltFast(g_primarySurface, -60, 10, tile, nullptr, 0));
    // A whole-surface blit with null rectangles stretches all onto all.
    Surface small = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 2, 2, &small));
    EXPECT_TRUE(Blt(small, nullptr, tile, nullptr, DDBLT_WAIT));
    EXPECT_TRUE(Blt(g_primarySurface, nullptr, small, nullptr, DDBLT_WAIT));
    EXPECT_EQ(At(0, 0), Q(kRed));
    EXPECT_EQ(At(799, 0), Q(kGreen));
    EXPECT_EQ(At(0, 599), Q(0xFF0000));
    EXPECT_EQ(At(799, 599), Q(kWhite));
}

TEST_F(Drawing, DrawingContextsAreExclusiveAndBlockBlits) {
    Surface other = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 10, 10, &other));
    DrawingContext dc = GetDC(g_primarySurface);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDC(g_primarySurface), nullptr);
    EXPECT_FALSE(BltFast(g_primarySurface, 0, 0, other, nullptr, 0));
    ReleaseDC(g_primarySurface, dc);
    EXPECT_TRUE(BltFast(g_primarySurface, 0, 0, other, nullptr, 0));
    headless::SetFault(headless::Fault::GetDC, true);
    EXPECT_EQ(GetDC(other), nullptr);
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 5, 5));
    EXPECT_FALSE(TextOut(nullptr, 0, 0, "a", 1));
}

TEST_F(Drawing, BrushesAreCountedUntilDeletedAndColoursQuantiseTo565) {
    const int before = headless::LiveBrushes();
    Brush a = CreateSolidBrush(0x123456);
    Brush b = CreateSolidBrush(kWhite);
    EXPECT_EQ(headless::LiveBrushes(), before + 2);
    DrawingContext dc = GetDC(g_primarySurface);
    Brush stock = SelectObject(dc, a);
    DeleteObject(a);  // still selected: GDI keeps it
    EXPECT_EQ(headless::LiveBrushes(), before + 2);
    Rectangle(dc, 0, 0, 10, 10);
    SelectObject(dc, stock);
    ReleaseDC(g_primarySurface, dc);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(b);  // a second delete is ignored
    EXPECT_EQ(headless::LiveBrushes(), before);

    EXPECT_EQ(At(5, 5), Q(0x123456));
    EXPECT_EQ(Q(0x123456), 0x103452u);
    EXPECT_EQ(headless::RawPixelAt(5, 5), ((0x56 >> 3) << 11) | ((0x34 >> 2) << 5) | (0x12 >> 3));
    EXPECT_EQ(Q(kWhite), kWhite);
    EXPECT_EQ(Q(0x070307), 0u);
    EXPECT_EQ(headless::PixelAt(800, 0), 0xFFFFFFFFu);
}

}  // namespace

// What GDI paints is checked box by box in gdi_shapes_test.cpp; an ellipse cut
// by the screen's edges must keep exactly the pixels it has where it is whole.
TEST_F(Drawing, EllipseCutByTheScreensEdgesKeepsTheRestOfItsPixels) {
    const auto draw = [](Rect box) {
        DrawingContext dc = GetDC(g_primarySurface);
        Brush red = CreateSolidBrush(kRed);
        Brush old = SelectObject(dc, red);
        EXPECT_TRUE(Ellipse(dc, box.left, box.top, box.right, box.bottom));
        SelectObject(dc, old);
        ReleaseDC(g_primarySurface, dc);
        DeleteObject(red);
    };
    // Cut by each edge of the 800 x 600 screen, and by two at once.
    const Rect cut[] = {{-17, 100, 30, 151}, {780, 100, 831, 140}, {100, -20, 150, 31},
                        {100, 577, 137, 630}, {-9, -9, 20, 20},    {790, 590, 811, 611}};
    for (const Rect& box : cut) {
        const std::int32_t w = box.right - box.left, h = box.bottom - box.top;
        SCOPED_TRACE(std::to_string(box.left) + "," + std::to_string(box.top) + " " + std::to_string(w) + "x" +
                     std::to_string(h));
        const Rect whole{300, 200, 300 + w, 200 + h};
        Paint({0, 0, 800, 600}, kGreen);
        draw(whole);
        std::vector<Colour> reference;
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x) reference.push_back(At(whole.left + x, whole.top + y));
        Paint({0, 0, 800, 600}, kGreen);
        draw(box);
        for (std::int32_t y = std::max(box.top, 0); y < std::min(box.bottom, 600); ++y)
            for (std::int32_t x = std::max(box.left, 0); x < std::min(box.right, 800); ++x)
                ASSERT_EQ(At(x, y), reference[static_cast<std::size_t>((y - box.top) * w + x - box.left)])
                    << x << "," << y;
    }
}

// Lines are kept once drawn; a kept line must be the very picture a fresh
// rendering gives, for its own colours, also after many others pushed it out.
TEST_F(Drawing, ALineDrawnAgainLooksTheSameWhateverWasDrawnBetween) {
    const auto snapshot = [] {
        std::vector<Colour> pixels;
        for (std::int32_t y = 300; y < 330; ++y)
            for (std::int32_t x = 0; x < 400; ++x) pixels.push_back(At(x, y));
        return pixels;
    };
    const auto draw = [](const char* text, Colour ink, Colour paper) {
        Paint({0, 300, 400, 330}, kGreen);
        PutText(text, ink, paper, 10, 305);
    };
    draw("Zebranych: 17   ", kWhite, kRed);
    const auto first = snapshot();
    draw("Zebranych: 17   ", kRed, kWhite);
    const auto swapped = snapshot();
    EXPECT_NE(first, swapped);
    draw("Zebranych: 17   ", kWhite, kRed);
    EXPECT_EQ(snapshot(), first);
    for (int i = 0; i < 300; ++i) {
        const std::string other = "Pozosta\xB3o " + std::to_string(i) + " sek.";
        draw(other.c_str(), kWhite, static_cast<Colour>(i));
    }
    draw("Zebranych: 17   ", kRed, kWhite);
    EXPECT_EQ(snapshot(), swapped);
    draw("Zebranych: 17   ", kWhite, kRed);
    EXPECT_EQ(snapshot(), first);
    // Cut by the screen's left and right edges, as a fresh line is.
    Paint({0, 300, 800, 330}, kGreen);
    PutText("Zebranych: 17   ", kWhite, kRed, 740, 305);
    EXPECT_NE(At(799, 310), Q(kGreen));
}

namespace {

// Every pixel the step changes on the screen lies in the screen's dirty region,
// which the real window presents (nothing else is shown after a step).
void ExpectChangesInsideDirtyRegion(const char* what, const std::function<void()>& step) {
    const std::vector<std::uint16_t> before = g_primarySurface->pixels;
    g_primarySurface->dirty.Clear();
    step();
    const common::DirtyRegion& dirty = g_primarySurface->dirty;
    EXPECT_LE(dirty.Count(), common::DirtyRegion::kMost) << what;
    for (std::int32_t y = 0; y < 600; ++y) {
        for (std::int32_t x = 0; x < 800; ++x) {
            if (g_primarySurface->pixels[static_cast<std::size_t>(y * 800 + x)] ==
                before[static_cast<std::size_t>(y * 800 + x)]) {
                continue;
            }
            bool inside = false;
            for (int i = 0; i < dirty.Count() && !inside; ++i) {
                inside = dirty[i].left <= x && x < dirty[i].right && dirty[i].top <= y && y < dirty[i].bottom;
            }
            ASSERT_TRUE(inside) << what << ": (" << x << ", " << y << ") changed outside the region";
        }
    }
}

}  // namespace

TEST_F(Drawing, EveryDrawingStepMarksWhatItChangedAndTheRegionStaysSmall) {
    Surface sheet = nullptr;
    ASSERT_TRUE(CreateOffscreenSurface(g_directDraw, 64, 64, &sheet));
    Fill(sheet, {0, 0, 64, 64}, kGreen);
    Fill(sheet, {8, 8, 24, 24}, kBlack);
    SetColorKey(sheet, DDCKEY_SRCBLT, 0, 0);
    const auto withContext = [](const std::function<void(DrawingContext)>& draw) {
        return [draw] {
            DrawingContext dc = GetDC(g_primarySurface);
            ASSERT_NE(dc, nullptr);
            draw(dc);
            ReleaseDC(g_primarySurface, dc);
        };
    };
    ExpectChangesInsideDirtyRegion("rectangle", withContext([](DrawingContext dc) { Rectangle(dc, 790, 590, 900, 700); }));
    ExpectChangesInsideDirtyRegion("ellipse", withContext([](DrawingContext dc) { Ellipse(dc, -10, 100, 40, 150); }));
    ExpectChangesInsideDirtyRegion("text", [] { PutText("Zebranych: 12   ", 0xFFFFFF, 0x0000FF, 620, 240); });
    ExpectChangesInsideDirtyRegion("keyed stretch", [sheet] {
        const Rect to{100, 100, 150, 150};
        Blt(g_primarySurface, &to, sheet, nullptr, DDBLT_WAIT | DDBLT_KEYSRC);
    });
    ExpectChangesInsideDirtyRegion("unscaled copy", [sheet] {
        const Rect from{0, 0, 64, 64};
        BltFast(g_primarySurface, 770, -20, sheet, &from, DDBLTFAST_NOCOLORKEY);
    });
    // Many small steps far apart: the region merges, never grows past its bound.
    ExpectChangesInsideDirtyRegion("twenty discs", withContext([](DrawingContext dc) {
        for (int i = 0; i < 20; ++i) Ellipse(dc, 37 * i, 29 * i, 37 * i + 20, 29 * i + 20);
    }));
    // One disc is one small rectangle, not the screen.
    g_primarySurface->dirty.Clear();
    withContext([](DrawingContext dc) { Ellipse(dc, 100, 100, 150, 150); })();
    ASSERT_EQ(g_primarySurface->dirty.Count(), 1);
    EXPECT_EQ(g_primarySurface->dirty[0].right - g_primarySurface->dirty[0].left, 50);
    EXPECT_EQ(g_primarySurface->dirty[0].bottom - g_primarySurface->dirty[0].top, 50);
}
