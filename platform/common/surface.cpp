#include "platform/common/surface.h"

#include "platform/common/bitmap_file.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace platform {
namespace common {
namespace {

struct Registry {
    std::vector<std::unique_ptr<SurfaceObject>> surfaces;
    std::vector<std::unique_ptr<BrushObject>> brushes;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// The source column (or row) that destination offset `i` of `destinationSize`
// takes: DirectDraw steps through the source in 16.16 fixed point, the step cut
// down to whole 1/65536ths, from the first pixel's left edge (read off its own
// output: tests/cross/blt_stretch.txt).
std::int64_t SampleAt(std::int64_t i, std::int64_t destinationSize, std::int64_t sourceSize) {
    return (i * ((sourceSize << 16) / destinationSize)) >> 16;
}

bool IsKey(const SurfaceObject& surface, std::uint16_t pixel) {
    return pixel >= surface.keyLow && pixel <= surface.keyHigh;
}

std::int64_t Area(const Rect& r) { return std::int64_t{r.right - r.left} * (r.bottom - r.top); }

Rect Union(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool g_lostSurfaceMet = false;

// False, noting it, when either surface is lost.
bool Usable(const SurfaceObject& a, const SurfaceObject& b) {
    if (!a.lost && !b.lost) return true;
    g_lostSurfaceMet = true;
    return false;
}

}  // namespace

void DirtyRegion::Add(Rect rect, std::int32_t width, std::int32_t height) {
    rect = {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
            std::min(rect.bottom, height)};
    if (rect.left >= rect.right || rect.top >= rect.bottom) return;
    rects_[count_++] = rect;
    // Merge while anything overlaps or touches, and while there are too many.
    for (bool merged = true; merged;) {
        merged = false;
        int bestA = -1;
        int bestB = -1;
        std::int64_t bestGrowth = 0;
        for (int a = 0; a < count_ && !merged; ++a) {
            for (int b = a + 1; b < count_; ++b) {
                const Rect joined = Union(rects_[a], rects_[b]);
                if (Overlap(rects_[a], rects_[b])) {
                    bestA = a;
                    bestB = b;
                    merged = true;
                    break;
                }
                const std::int64_t growth = Area(joined) - Area(rects_[a]) - Area(rects_[b]);
                if (bestA < 0 || growth < bestGrowth) {
                    bestA = a;
                    bestB = b;
                    bestGrowth = growth;
                }
            }
        }
        if (!merged && count_ <= kMost) break;
        rects_[bestA] = Union(rects_[bestA], rects_[bestB]);
        rects_[bestB] = rects_[--count_];
        merged = true;
    }
}

Surface NewSurface(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    auto surface = std::make_unique<SurfaceObject>();
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    Surface handle = surface.get();
    TheRegistry().surfaces.push_back(std::move(surface));
    return handle;
}

void FreeSurface(Surface surface) {
    auto& surfaces = TheRegistry().surfaces;
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(),
                                  [surface](const auto& owned) { return owned.get() == surface; }),
                   surfaces.end());
}

void DestroyAll() {
    TheRegistry().surfaces.clear();
    TheRegistry().brushes.clear();
    DestroyBitmaps();
}

int LiveSurfaces() { return static_cast<int>(TheRegistry().surfaces.size()); }
int LiveBrushes() { return static_cast<int>(TheRegistry().brushes.size()); }

void LoseAllSurfaces() {
    for (const auto& surface : TheRegistry().surfaces) {
        surface->lost = true;
        surface->contextHeld = false;
        // Stripes of magenta and green: nothing a screen draws.
        for (std::size_t i = 0; i < surface->pixels.size(); ++i) {
            surface->pixels[i] = (i / 7) % 2 ? 0xF81F : 0x07E0;
        }
    }
}

bool TakeLostSurfaceMet() { return std::exchange(g_lostSurfaceMet, false); }

DrawingContext OpenContext(Surface surface) {
    if (surface == nullptr || surface->contextHeld || !Usable(*surface, *surface)) return nullptr;
    surface->contextHeld = true;
    surface->context = DrawingContextObject{};
    surface->context.surface = surface;
    return &surface->context;
}

void CloseContext(Surface surface, DrawingContext context) {
    if (surface == nullptr || context != &surface->context || !surface->contextHeld) return;
    surface->contextHeld = false;
    surface->context.brush = nullptr;
}

void FillRect(Surface surface, Rect rect, std::uint16_t pixel) {
    const std::int32_t left = std::max(rect.left, 0);
    const std::int32_t top = std::max(rect.top, 0);
    const std::int32_t right = std::min(rect.right, surface->width);
    const std::int32_t bottom = std::min(rect.bottom, surface->height);
    if (left >= right || top >= bottom) return;
    for (std::int32_t y = top; y < bottom; ++y) {
        auto row = surface->pixels.begin() + static_cast<std::ptrdiff_t>(y) * surface->width;
        std::fill(row + left, row + right, pixel);
    }
    MarkDrawn(*surface, {left, top, right, bottom});
}

Brush NewBrush(Colour colour) {
    auto brush = std::make_unique<BrushObject>();
    brush->colour = colour & 0xFFFFFF;
    Brush handle = brush.get();
    TheRegistry().brushes.push_back(std::move(brush));
    return handle;
}

bool FreeBrush(Brush brush) {
    auto& brushes = TheRegistry().brushes;
    auto found = std::find_if(brushes.begin(), brushes.end(),
                              [brush](const auto& owned) { return owned.get() == brush; });
    if (found == brushes.end()) return false;
    // GDI does not delete a brush that is still selected into a context.
    for (const auto& surface : TheRegistry().surfaces) {
        if (surface->contextHeld && surface->context.brush == brush) return false;
    }
    brushes.erase(found);
    return true;
}

}  // namespace common

void GetSurfaceSize(Surface surface, std::int32_t* width, std::int32_t* height) {
    if (width) *width = surface ? surface->width : 0;
    if (height) *height = surface ? surface->height : 0;
}

bool SetColorKey(Surface surface, unsigned flags, Colour low, Colour high) {
    if (surface == nullptr || (flags & DDCKEY_SRCBLT) == 0) return false;
    surface->keyed = true;
    surface->keyLow = common::ToPixel(low);
    surface->keyHigh = common::ToPixel(high);
    if (surface->keyHigh < surface->keyLow) std::swap(surface->keyLow, surface->keyHigh);
    return true;
}

bool Blt(Surface target, const Rect* destination, Surface from, const Rect* source,
         unsigned flags) {
    // A surface whose drawing context is out cannot be blitted to or from.
    if (target == nullptr || from == nullptr || target->contextHeld || from->contextHeld ||
        !common::Usable(*target, *from)) {
        return false;
    }
    const Rect d = destination ? *destination : Rect{0, 0, target->width, target->height};
    const Rect s = source ? *source : Rect{0, 0, from->width, from->height};
    if (d.right <= d.left || d.bottom <= d.top || s.right <= s.left || s.bottom <= s.top) {
        return false;
    }
    const bool keyed = (flags & DDBLT_KEYSRC) != 0 && from->keyed;
    const std::int64_t destinationWidth = std::int64_t{d.right} - d.left;
    const std::int64_t destinationHeight = std::int64_t{d.bottom} - d.top;
    const std::int64_t sourceWidth = std::int64_t{s.right} - s.left;
    const std::int64_t sourceHeight = std::int64_t{s.bottom} - s.top;

    const std::int32_t left = std::max(d.left, 0);
    const std::int32_t top = std::max(d.top, 0);
    const std::int32_t right = std::min(d.right, target->width);
    const std::int32_t bottom = std::min(d.bottom, target->height);
    if (left >= right || top >= bottom) return true;

    // Blitting a surface onto itself reads from a copy so overlapping parts stay right.
    std::vector<std::uint16_t> copy;
    const std::uint16_t* pixels = from->pixels.data();
    if (from == target) {
        copy = from->pixels;
        pixels = copy.data();
    }

    static std::vector<std::int32_t> columns;
    columns.resize(static_cast<std::size_t>(right - left));
    for (std::int32_t x = left; x < right; ++x) {
        const std::int64_t sx = s.left + common::SampleAt(x - d.left, destinationWidth, sourceWidth);
        columns[static_cast<std::size_t>(x - left)] =
            (sx < 0 || sx >= from->width) ? -1 : static_cast<std::int32_t>(sx);
    }
    for (std::int32_t y = top; y < bottom; ++y) {
        const std::int64_t sy = s.top + common::SampleAt(y - d.top, destinationHeight, sourceHeight);
        if (sy < 0 || sy >= from->height) continue;
        const std::uint16_t* sourceRow = pixels + sy * from->width;
        std::uint16_t* targetRow = target->pixels.data() + std::int64_t{y} * target->width;
        for (std::int32_t x = left; x < right; ++x) {
            const std::int32_t sx = columns[static_cast<std::size_t>(x - left)];
            if (sx < 0) continue;
            const std::uint16_t pixel = sourceRow[sx];
            if (keyed && common::IsKey(*from, pixel)) continue;
            targetRow[x] = pixel;
        }
    }
    common::MarkDrawn(*target, {left, top, right, bottom});
    return true;
}

bool BltFast(Surface target, std::int32_t x, std::int32_t y, Surface from, const Rect* source,
             unsigned /*flags*/) {
    if (target == nullptr || from == nullptr || target->contextHeld || from->contextHeld ||
        !common::Usable(*target, *from)) {
        return false;
    }
    Rect s = source ? *source : Rect{0, 0, from->width, from->height};
    if (s.right <= s.left || s.bottom <= s.top) return false;
    // Clip the source to its surface, then the destination to its surface,
    // moving the other side along with each cut.
    std::int64_t sl = s.left, st = s.top, sr = s.right, sb = s.bottom;
    std::int64_t dx = x, dy = y;
    if (sl < 0) { dx -= sl; sl = 0; }
    if (st < 0) { dy -= st; st = 0; }
    sr = std::min<std::int64_t>(sr, from->width);
    sb = std::min<std::int64_t>(sb, from->height);
    if (dx < 0) { sl -= dx; dx = 0; }
    if (dy < 0) { st -= dy; dy = 0; }
    sr = std::min<std::int64_t>(sr, sl + (target->width - dx));
    sb = std::min<std::int64_t>(sb, st + (target->height - dy));
    if (sl >= sr || st >= sb) return true;

    std::vector<std::uint16_t> copy;
    const std::uint16_t* pixels = from->pixels.data();
    if (from == target) {
        copy = from->pixels;
        pixels = copy.data();
    }
    const std::int64_t width = sr - sl;
    for (std::int64_t row = st; row < sb; ++row) {
        const std::uint16_t* sourceRow = pixels + row * from->width + sl;
        std::uint16_t* targetRow = target->pixels.data() + (dy + row - st) * target->width + dx;
        std::copy(sourceRow, sourceRow + width, targetRow);
    }
    common::MarkDrawn(*target, {static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy),
                                static_cast<std::int32_t>(dx + width),
                                static_cast<std::int32_t>(dy + sb - st)});
    return true;
}

}  // namespace platform
