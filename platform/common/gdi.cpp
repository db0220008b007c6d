// GDI-like shapes on a surface's drawing context: filled with the selected solid
// brush and outlined by a one-pixel black pen inside the box, right and bottom
// edges excluded.
#include <algorithm>
#include <cmath>
#include <utility>

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

// A pixel belongs to the ellipse when its centre lies inside the ellipse that
// touches the box's edges. Doubling every coordinate keeps the test in integers
// and symmetric about the box's centre, so each ellipse is centred exactly; the
// pen takes the inside pixels with a neighbour outside. Each row's inside
// pixels form one run, found with a square root instead of a test per pixel:
// a disc animation draws dozens of ellipses per move.
namespace {

struct Run {
    std::int64_t first = 0;
    std::int64_t last = -1;  // empty when last < first
};

// Whole boxes up to this side keep every product below in 64 bits.
constexpr std::int64_t kMaxEllipseSide = 32767;

// The inside pixels of each row, row after row: those whose doubled offset from
// the centre, dx = 2x + 1 - left - right, satisfies dx^2 b^2 + dy^2 a^2 <= a^2 b^2.
// The largest |dx| allowed changes little from one row to the next, so it is
// carried over and corrected exactly, with no square root or division per row.
class InsideRuns {
public:
    explicit InsideRuns(const Rect& box)
        : box_(box), a_(std::int64_t{box.right} - box.left), b_(std::int64_t{box.bottom} - box.top) {}

    Run At(std::int64_t y) {
        const std::int64_t dy = 2 * y + 1 - box_.top - std::int64_t{box_.bottom};
        if (dy < -b_ || dy > b_) return {};
        const std::int64_t room = a_ * a_ * (b_ * b_ - dy * dy);
        if (reach_ < 0) {  // the first row: start from an estimate
            reach_ = static_cast<std::int64_t>(std::sqrt(static_cast<double>(room)) /
                                               static_cast<double>(b_));
        }
        while (reach_ > 0 && Square(reach_ * b_) > room) --reach_;
        while (Square((reach_ + 1) * b_) <= room) ++reach_;
        const std::int64_t sum = std::int64_t{box_.left} + box_.right - 1;
        // C++20 shifts negative values arithmetically: floor and ceiling of a half.
        return {(sum - reach_ + 1) >> 1, (sum + reach_) >> 1};
    }

private:
    static std::int64_t Square(std::int64_t v) { return v * v; }

    Rect box_;
    std::int64_t a_;
    std::int64_t b_;
    std::int64_t reach_ = -1;
};

}  // namespace

bool Ellipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    if (context == nullptr) return false;
    SurfaceObject& surface = *context->surface;
    const Rect box = Normalised(left, top, right, bottom);
    const std::int64_t a = std::int64_t{box.right} - box.left;
    const std::int64_t b = std::int64_t{box.bottom} - box.top;
    if (a == 0 || b == 0) return true;
    if (a > kMaxEllipseSide || b > kMaxEllipseSide) return false;
    const std::uint16_t fill = common::ToPixel(FillColour(*context));
    const std::int64_t yFirst = std::max<std::int64_t>(box.top, 0);
    const std::int64_t yEnd = std::min<std::int64_t>(box.bottom, surface.height);
    const auto paint = [&surface](std::int64_t y, std::int64_t from, std::int64_t to,
                                  std::uint16_t pixel) {
        from = std::max<std::int64_t>(from, 0);
        to = std::min<std::int64_t>(to, std::int64_t{surface.width} - 1);
        if (from > to) return;
        auto row = surface.pixels.begin() + static_cast<std::ptrdiff_t>(y * surface.width);
        std::fill(row + static_cast<std::ptrdiff_t>(from), row + static_cast<std::ptrdiff_t>(to) + 1, pixel);
    };
    // Each row's run is found once and kept while the rows next to it need it.
    InsideRuns runs(box);
    Run above = runs.At(yFirst - 1);
    Run current = runs.At(yFirst);
    for (std::int64_t y = yFirst; y < yEnd; ++y) {
        const Run below = runs.At(y + 1);
        if (current.first <= current.last) {
            // Inside pixels whose left, right, upper and lower neighbours are all inside.
            const std::int64_t innerFirst = std::max({current.first + 1, above.first, below.first});
            const std::int64_t innerLast = std::min({current.last - 1, above.last, below.last});
            if (innerFirst <= innerLast) {
                paint(y, current.first, innerFirst - 1, kPen);
                paint(y, innerFirst, innerLast, fill);
                paint(y, innerLast + 1, current.last, kPen);
            } else {
                paint(y, current.first, current.last, kPen);
            }
        }
        above = current;
        current = below;
    }
    common::MarkDrawn(surface, box);
    return true;
}

}  // namespace platform
