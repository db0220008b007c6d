// The shared Ellipse and Rectangle against what GDI itself paints: the dump in
// tests/cross/gdi_shapes.txt, made by tests/cross/gdi_shapes_dump.cpp under
// Wine. Every shape the game draws (the growing disc's six steps on every
// square, the colour swatches) and every ellipse box of 1..64 by 1..64 pixels
// must come out pixel for pixel the same.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/screen_test.h"

using namespace platform;
using wolby_test::Q;

namespace {

constexpr Colour kGround = 0x00FF00;
constexpr Colour kBrush = 0x140A3C;

// One shape of the dump: its box and what each of its rows paints.
struct Shape {
    bool ellipse = true;
    Rect box{};
    // Per row from the top: pen on [a, b) and [w - b, w - a), brush between; a = b = 0 paints nothing.
    std::vector<std::pair<int, int>> rows;
};

// The dump's lines; a line that cannot be read fails the test that reads it.
std::vector<Shape> ReadDump() {
    std::ifstream file(WOLBY_SOURCE_DIR "/tests/cross/gdi_shapes.txt");
    EXPECT_TRUE(file) << "tests/cross/gdi_shapes.txt cannot be read";
    std::vector<Shape> shapes;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        std::string kind;
        Shape shape;
        in >> kind >> shape.box.left >> shape.box.top >> shape.box.right >> shape.box.bottom;
        EXPECT_TRUE(in && (kind == "ellipse" || kind == "rectangle")) << line;
        shape.ellipse = kind == "ellipse";
        std::vector<std::pair<int, int>> half;
        std::string token;
        while (in >> token) {
            const std::size_t star = token.find('*');
            const int count = star == std::string::npos ? 1 : std::stoi(token.substr(star + 1));
            EXPECT_TRUE(token.size() >= 2 && (star == std::string::npos || star == 2)) << line;
            for (int i = 0; i < count; ++i) half.emplace_back(token[0] - '0', token[1] - '0');
        }
        // The lower half mirrors the upper one.
        const std::size_t height = static_cast<std::size_t>(shape.box.bottom - shape.box.top);
        EXPECT_EQ(half.size(), (height + 1) / 2) << line;
        if (half.size() != (height + 1) / 2) continue;
        shape.rows = half;
        for (std::size_t y = height / 2; y-- > 0;) shape.rows.push_back(half[y]);
        shapes.push_back(shape);
    }
    return shapes;
}

const std::vector<Shape>& Dump() {
    static const std::vector<Shape> shapes = ReadDump();
    return shapes;
}

// The sweep's boxes all have their top-left corner here.
bool InSweep(const Shape& shape) { return shape.box.left == 96 && shape.box.top == 32; }

class GdiShapes : public wolby_test::ScreenTest {
protected:
    // Draws the shape on ground around it and compares its box and a pixel
    // beyond each side with the dump: ground, pen or brush.
    static ::testing::AssertionResult PaintsAsGdi(const Shape& shape) {
        const Rect& box = shape.box;
        const Rect area{box.left - 1, box.top - 1, box.right + 1, box.bottom + 1};
        Paint(area, kGround);
        DrawingContext dc = GetDC(g_primarySurface);
        Brush brush = CreateSolidBrush(kBrush);
        Brush old = SelectObject(dc, brush);
        const bool drawn = shape.ellipse ? Ellipse(dc, box.left, box.top, box.right, box.bottom)
                                         : Rectangle(dc, box.left, box.top, box.right, box.bottom);
        SelectObject(dc, old);
        ReleaseDC(g_primarySurface, dc);
        DeleteObject(brush);
        if (!drawn) return ::testing::AssertionFailure() << "not drawn";

        const int width = box.right - box.left;
        // '.' ground, '#' pen, 'o' brush; a picture of both when they differ.
        std::string expected, actual;
        bool same = true;
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            for (std::int32_t x = area.left; x < area.right; ++x) {
                char want = '.';
                if (y >= box.top && y < box.bottom && x >= box.left && x < box.right) {
                    const auto [a, b] = shape.rows[static_cast<std::size_t>(y - box.top)];
                    const int dx = x - box.left;
                    if (a != 0 || b != 0) {
                        if ((dx >= a && dx < b) || (dx >= width - b && dx < width - a)) {
                            want = '#';
                        } else if (dx >= b && dx < width - b) {
                            want = 'o';
                        }
                    }
                }
                const Colour c = At(x, y);
                const char got = c == Q(kGround) ? '.' : c == 0 ? '#' : c == Q(kBrush) ? 'o' : '?';
                same = same && got == want;
                expected += want;
                actual += got;
            }
            expected += '\n';
            actual += '\n';
        }
        if (same) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "GDI paints:\n" << expected << "the platform paints:\n" << actual;
    }

    static std::string Name(const Shape& shape) {
        const Rect& b = shape.box;
        return std::string(shape.ellipse ? "Ellipse" : "Rectangle") + "(" + std::to_string(b.left) + ", " +
               std::to_string(b.top) + ", " + std::to_string(b.right) + ", " + std::to_string(b.bottom) + ")";
    }
};

// The disc grows from 30 to 50 pixels in six steps on each of the 64 squares,
// at places of either parity; the two swatches are rectangles.
TEST_F(GdiShapes, EveryShapeTheGameDrawsIsPaintedExactlyAsGdiPaintsIt) {
    int ellipses = 0, rectangles = 0;
    for (const Shape& shape : Dump()) {
        if (InSweep(shape)) continue;
        (shape.ellipse ? ellipses : rectangles) += 1;
        EXPECT_TRUE(PaintsAsGdi(shape)) << Name(shape);
    }
    EXPECT_EQ(ellipses, 6 * 64);
    EXPECT_EQ(rectangles, 2);
}

TEST_F(GdiShapes, EveryEllipseBoxUpTo64By64IsPaintedExactlyAsGdiPaintsIt) {
    std::set<std::pair<int, int>> sizes;
    int failures = 0;
    for (const Shape& shape : Dump()) {
        if (!InSweep(shape)) continue;
        sizes.emplace(shape.box.right - shape.box.left, shape.box.bottom - shape.box.top);
        const ::testing::AssertionResult result = PaintsAsGdi(shape);
        // A handful of pictures says enough.
        if (!result && ++failures <= 5) ADD_FAILURE() << Name(shape) << "\n" << result.message();
    }
    EXPECT_EQ(failures, 0) << "ellipse boxes painted otherwise than GDI does";
    EXPECT_EQ(sizes.size(), 64u * 64u);
}

}  // namespace
