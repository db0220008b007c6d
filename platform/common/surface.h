// What the headless, SDL and browser backends share: the objects behind the
// platform's handles and the helpers that create and convert them. Only the platform layer includes this.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct BrushObject {
    Colour colour = 0;
};

// GDI's defaults for a fresh context: white brush, white background, black text.
struct DrawingContextObject {
    SurfaceObject* surface = nullptr;
    Brush brush = nullptr;
    Colour background = 0xFFFFFF;
    Colour text = 0;
};

namespace common {

// What changed on a surface since it was last shown: a few rectangles inside
// it. A growing disc then costs a 50 x 50 present, not a whole screen.
class DirtyRegion {
public:
    static constexpr int kMost = 8;
    // Adds the rectangle, clipped to (0, 0)-(width, height). Overlapping
    // rectangles merge; past kMost, the pair whose union grows least merges.
    void Add(Rect rect, std::int32_t width, std::int32_t height);
    void Clear() { count_ = 0; }
    bool Empty() const { return count_ == 0; }
    int Count() const { return count_; }
    const Rect& operator[](int i) const { return rects_[i]; }

private:
    Rect rects_[kMost + 1] = {};
    int count_ = 0;
};

}  // namespace common

struct SurfaceObject {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint16_t> pixels;  // RGB565, row after row
    bool keyed = false;
    std::uint16_t keyLow = 0;
    std::uint16_t keyHigh = 0;
    bool contextHeld = false;
    // Its memory taken away (only the headless backend's tests do this): every
    // call that draws on or from it fails until it is restored.
    bool lost = false;
    DrawingContextObject context;
    // Grown by every drawing operation; the SDL backend shows it and clears it.
    common::DirtyRegion dirty;
};

namespace common {

constexpr std::uint16_t ToPixel(Colour colour) {
    const auto r = static_cast<std::uint16_t>((colour & 0xFF) >> 3);
    const auto g = static_cast<std::uint16_t>(((colour >> 8) & 0xFF) >> 2);
    const auto b = static_cast<std::uint16_t>(((colour >> 16) & 0xFF) >> 3);
    return static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
}

// The low bits repeat the high ones, so 0xFFFF widens to exactly white.
constexpr Colour FromPixel(std::uint16_t pixel) {
    const Colour r5 = (pixel >> 11) & 0x1F;
    const Colour g6 = (pixel >> 5) & 0x3F;
    const Colour b5 = pixel & 0x1F;
    const Colour r = (r5 << 3) | (r5 >> 2);
    const Colour g = (g6 << 2) | (g6 >> 4);
    const Colour b = (b5 << 3) | (b5 >> 2);
    return r | (g << 8) | (b << 16);
}

// Surfaces and brushes live in one registry until they are freed or until
// DestroyAll (headless Reset, program exit).
Surface NewSurface(std::int32_t width, std::int32_t height);
// Frees an unknown or null surface not at all.
void FreeSurface(Surface surface);
void DestroyAll();
int LiveSurfaces();
int LiveBrushes();

Brush NewBrush(Colour colour);
// False when the brush is unknown or still selected into a held context.
bool FreeBrush(Brush brush);

// Every surface loses its memory: lost, with pixels that show no picture.
void LoseAllSurfaces();
// Whether a call has failed on a lost surface since the last question.
bool TakeLostSurfaceMet();

// A context on the surface with the defaults, or null while one is held or the
// surface is lost.
DrawingContext OpenContext(Surface surface);
void CloseContext(Surface surface, DrawingContext context);

// Fills the part of the rectangle that lies on the surface.
void FillRect(Surface surface, Rect rect, std::uint16_t pixel);
// Notes that the rectangle of the surface was drawn on.
inline void MarkDrawn(SurfaceObject& surface, Rect rect) {
    surface.dirty.Add(rect, surface.width, surface.height);
}

}  // namespace common
}  // namespace platform
