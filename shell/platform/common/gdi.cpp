// GDI-like shapes on a surface's drawing context: filled with the selected solid
// brush and outlined by a one-pixel black pen inside the box, right and bottom
// edges excluded.
#include <algorithm>
#include <utility>

#include "shell/platform/common/surface.h"

namespace platform {
namespace {

// Stands for GDI's stock white brush, the one a fresh context has selected.
BrushObject g_stockWhiteBrush{0xFFFFFF};

constexpr std::uint16_t kPen = 0;  // black

Colour FillColour(const DrawingContextObject& context) {
    return context.brush ? context.brush->colour : g_stockWhiteBrush.colour;
}

void SetPixel(SurfaceObject& surface, std::int64_t x, std::int64_t y, std::uint16_t pixel) {
    if (x < 0 || y < 0 || x >= surface.width || y >= surface.height) return;
    surface.pixels[static_cast<std::size_t>(y * surface.width + x)] = pixel;
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
    surface.drawn = true;
    return true;
}

// A pixel belongs to the ellipse when its centre lies inside the ellipse that
// touches the box's edges. Doubling every coordinate keeps the test in integers
// and symmetric about the box's centre, so each ellipse is centred exactly; the
// pen takes the inside pixels with a neighbour outside.
bool Ellipse(DrawingContext context, std::int32_t left, std::int32_t top, std::int32_t right,
             std::int32_t bottom) {
    if (context == nullptr) return false;
    SurfaceObject& surface = *context->surface;
    const Rect box = Normalised(left, top, right, bottom);
    const std::int64_t a = std::int64_t{box.right} - box.left;  // twice the radii
    const std::int64_t b = std::int64_t{box.bottom} - box.top;
    if (a == 0 || b == 0) return true;
    const std::int64_t a2 = a * a;
    const std::int64_t b2 = b * b;
    const std::int64_t limit = a2 * b2;
    const auto inside = [&](std::int64_t x, std::int64_t y) {
        const std::int64_t dx = 2 * x + 1 - box.left - std::int64_t{box.right};
        const std::int64_t dy = 2 * y + 1 - box.top - std::int64_t{box.bottom};
        return dx * dx * b2 + dy * dy * a2 <= limit;
    };
    const std::uint16_t fill = common::ToPixel(FillColour(*context));
    const std::int64_t yFirst = std::max<std::int64_t>(box.top, 0);
    const std::int64_t yEnd = std::min<std::int64_t>(box.bottom, surface.height);
    const std::int64_t xFirst = std::max<std::int64_t>(box.left, 0);
    const std::int64_t xEnd = std::min<std::int64_t>(box.right, surface.width);
    for (std::int64_t y = yFirst; y < yEnd; ++y) {
        for (std::int64_t x = xFirst; x < xEnd; ++x) {
            if (!inside(x, y)) continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                              !inside(x, y + 1);
            SetPixel(surface, x, y, edge ? kPen : fill);
        }
    }
    surface.drawn = true;
    return true;
}

}  // namespace platform
