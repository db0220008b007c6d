// GDI-like shapes on a surface's drawing context: filled with the selected solid
// brush and outlined by a one-pixel black pen inside the box, right and bottom
// edges excluded.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/common/surface.h"

namespace platform {
namespace {

// Stands for GDI's stock white brush, the one a fresh context has selected.
BrushObject g_stockWhiteBrush{0xFFFFFF};

constexpr std::uint16_t kPen = 0;  // black

Colour FillColour(const DrawingContextObject& context) {
    return context.brush ? context.brush->colour : g_stockWhiteBrush.colour;
}

// GDI draws a box given in either order.
Rect Normalised(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return {left, top, right, bottom};
}

}  // namespace

Brush CreateSolidBrush(Colour colour) { return common::NewBrush(colour); }

void DeleteObject(Brush brush) {
    if (brush != nullptr && brush != &g_stockWhiteBrush) common::FreeBrush(brush);
}

Brush SelectObject(DrawingContext context, Brush brush) {
    if (context == nullptr || brush == nullptr) return nullptr;
    Brush previous = context->brush ? context->brush : &g_stockWhiteBrush;
    context->brush = brush;
    return previous;
}

Colour SetBkColor(DrawingContext context, Colour colour) {
    if (context == nullptr) return 0xFFFFFFFF;
    return std::exchange(context->background, colour & 0xFFFFFF);
}

Colour SetTextColor(DrawingContext context, Colour colour) {
    if (context == nullptr) return 0xFFFFFFFF;
    return std::exchange(context->text, colour & 0xFFFFFF);
}

bool Rectangle(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
               std::int32_t bottom) {
    if (context == nullptr) return false;
    SurfaceObject& surface = *context->surface;
    const Rect box = Normalised(left, top, right, bottom);
    if (box.right == box.left || box.bottom == box.top) return true;
    common::FillRect(&surface, box, kPen);
    common::FillRect(&surface, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                     common::ToPixel(FillColour(*context)));
    return true;
}

// GDI's ellipse, pixel for pixel. The rule was read off GDI's own output for
// every box the game draws and every box of 1..64 by 1..64 pixels (the dump and
// the tool that made it are in tests/cross/). In doubled coordinates about the
// box's centre every pixel centre is a pair of integers: column x is
// X = |2x + 1 - left - right|, row y is Y = |2y + 1 - top - bottom|, and the
// ellipse through the outermost pixel centres has the semi-axes A = w - 1 and
// B = h - 1, with F(X, Y) = B^2 X^2 + A^2 Y^2 - A^2 B^2 below 0 inside it.
// Its outline, in one quarter (X, Y >= 0, X of A's parity, Y of B's), is
// - a point on each row, from the middle row outwards: the largest X <= A whose
//   steps out from the tip X0 = A mod 2 all pass F(X - 1, Y) < -B^2 (X0 when
//   none does). These stop at the tip: when X0 = 0, after the first row there;
//   when X0 = 1, at the first row whose curve reaches no further out than the
//   tip pixel's centre, A^2 (B^2 - Y^2) <= B^2, which gets no point;
// - a point in each column that got none from the rows: the largest Y <= B
//   whose steps out from B mod 2 all pass F(X, Y - 1) <= -A^2;
// mirrored into the other quarters. On each row the brush fills between the
// two sides' outline. Boxes 1 or 2 pixels wide, or 1 high, are all pen, but
// for 1 x 1, which paints nothing.
namespace {

// Whole boxes up to this side keep every product below in 64 bits.
constexpr std::int64_t kMaxEllipseSide = 32767;

// The outline's pixels on one row of the quarter, as the X of its outermost
// and innermost pixel; the ones between are outline too.
struct QuarterRow {
    std::int64_t outer = -1;  // none yet
    std::int64_t inner = -1;
    void Add(std::int64_t x) {
        outer = std::max(outer, x);
        inner = inner < 0 ? x : std::min(inner, x);
    }
};

// Row k of the result holds Y = B mod 2 + 2k.
std::vector<QuarterRow> QuarterOutline(std::int64_t a, std::int64_t b) {
    const auto f = [a, b](std::int64_t x, std::int64_t y) { return b * b * x * x + a * a * y * y - a * a * b * b; };
    const std::int64_t x0 = a % 2, y0 = b % 2;
    std::vector<QuarterRow> rows(static_cast<std::size_t>(b / 2 + 1));
    std::vector<bool> columnTaken(static_cast<std::size_t>(a / 2 + 1));
    // The row points move inwards as the rows move out, so each row starts from the last X.
    std::int64_t x = a;
    for (std::int64_t y = y0; y <= b; y += 2) {
        while (x > x0 && !(f(x - 1, y) < -b * b)) x -= 2;
        if (x == 1 && a * a * (b * b - y * y) <= b * b) break;
        rows[static_cast<std::size_t>((y - y0) / 2)].Add(x);
        columnTaken[static_cast<std::size_t>((x - x0) / 2)] = true;
        if (x == 0) break;
    }
    // Likewise the column points move down as the columns move out.
    std::int64_t y = b;
    for (x = x0; x <= a; x += 2) {
        while (y > y0 && !(f(x, y - 1) <= -a * a)) y -= 2;
        if (!columnTaken[static_cast<std::size_t>((x - x0) / 2)]) rows[static_cast<std::size_t>((y - y0) / 2)].Add(x);
    }
    return rows;
}

}  // namespace

bool Ellipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    if (context == nullptr) return false;
    SurfaceObject& surface = *context->surface;
    const Rect box = Normalised(left, top, right, bottom);
    const std::int64_t w = std::int64_t{box.right} - box.left;
    const std::int64_t h = std::int64_t{box.bottom} - box.top;
    if (w == 0 || h == 0) return true;
    if (w > kMaxEllipseSide || h > kMaxEllipseSide) return false;
    common::MarkDrawn(surface, box);
    if (w * h == 1) return true;
    if (w <= 2 || h == 1) {
        common::FillRect(&surface, box, kPen);
        return true;
    }
    const std::uint16_t fill = common::ToPixel(FillColour(*context));
    // From doubled offsets back to pixels: sumX - X and sumX + X are twice the two columns.
    const std::int64_t sumX = std::int64_t{box.left} + box.right - 1;
    const std::int64_t sumY = std::int64_t{box.top} + box.bottom - 1;
    const auto paint = [&surface](std::int64_t y, std::int64_t from, std::int64_t to, std::uint16_t pixel) {
        if (y < 0 || y >= surface.height) return;
        from = std::max<std::int64_t>(from, 0);
        to = std::min<std::int64_t>(to, std::int64_t{surface.width} - 1);
        if (from > to) return;
        auto row = surface.pixels.begin() + static_cast<std::ptrdiff_t>(y * surface.width);
        std::fill(row + static_cast<std::ptrdiff_t>(from), row + static_cast<std::ptrdiff_t>(to) + 1, pixel);
    };
    const std::vector<QuarterRow> rows = QuarterOutline(w - 1, h - 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const QuarterRow& row = rows[k];
        if (row.outer < 0) continue;
        const std::int64_t offset = (h - 1) % 2 + 2 * static_cast<std::int64_t>(k);
        const std::int64_t outerLeft = (sumX - row.outer) / 2, innerLeft = (sumX - row.inner) / 2;
        const std::int64_t innerRight = (sumX + row.inner) / 2, outerRight = (sumX + row.outer) / 2;
        for (const std::int64_t y : {(sumY - offset) / 2, (sumY + offset) / 2}) {
            paint(y, outerLeft, innerLeft, kPen);
            paint(y, innerLeft + 1, innerRight - 1, fill);
            paint(y, innerRight, outerRight, kPen);
            if (offset == 0) break;  // the middle row is its own mirror
        }
    }
    return true;
}

}  // namespace platform
