// Showing the picture: the 800 x 600 RGB565 screen scaled onto the window
// surface in software, with its aspect kept and black bars; only the
// rectangles drawn since the last present are converted and handed over, so a
// growing disc costs the same on every screen size. And the map from window
// points back to the picture's.
#include <algorithm>

#include "platform/common/backend.h"
#include "platform/common/surface.h"
#include "platform/common/window_system.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_state.h"

namespace platform::sdl {

using common::kPictureHeight;
using common::kPictureWidth;

void Layout(int width, int height) {
    State& s = S();
    if (width == s.layoutWidth && height == s.layoutHeight) return;
    s.layoutWidth = width;
    s.layoutHeight = height;
    // The largest 4:3 rectangle that fits, centred.
    int w = width;
    int h = static_cast<int>(static_cast<std::int64_t>(width) * kPictureHeight / kPictureWidth);
    if (h > height) {
        h = height;
        w = static_cast<int>(static_cast<std::int64_t>(height) * kPictureWidth / kPictureHeight);
    }
    w = std::max(w, 1);
    h = std::max(h, 1);
    s.picture = SDL_Rect{(width - w) / 2, (height - h) / 2, w, h};
    s.sourceColumn.resize(static_cast<std::size_t>(w));
    s.sourceRow.resize(static_cast<std::size_t>(h));
    s.exposed = true;
    for (int x = 0; x < w; ++x) {
        s.sourceColumn[static_cast<std::size_t>(x)] =
            static_cast<int>((2 * std::int64_t{x} + 1) * kPictureWidth / (2 * std::int64_t{w}));
    }
    for (int y = 0; y < h; ++y) {
        s.sourceRow[static_cast<std::size_t>(y)] =
            static_cast<int>((2 * std::int64_t{y} + 1) * kPictureHeight / (2 * std::int64_t{h}));
    }
    UpdateCursor();
}

std::intptr_t PictureParam(int x, int y) {
    const State& s = S();
    int px = 0;
    int py = 0;
    if (s.picture.w > 0 && s.picture.h > 0) {
        px = static_cast<int>((std::int64_t{x} - s.picture.x) * kPictureWidth / s.picture.w);
        py = static_cast<int>((std::int64_t{y} - s.picture.y) * kPictureHeight / s.picture.h);
    }
    px = std::clamp(px, 0, kPictureWidth - 1);
    py = std::clamp(py, 0, kPictureHeight - 1);
    return PackPoint(px, py);
}

namespace {

// Writes the window pixels of `area` (window coordinates inside the picture)
// from the picture, scaled.
void Convert(SDL_Surface* target, const std::uint16_t* source, const SDL_Rect& area) {
    State& s = S();
    const SDL_Rect& p = s.picture;
    if (target->format->BytesPerPixel != 4) {
        // Unusual window formats: let SDL convert and scale the whole picture.
        SDL_Surface* wrapped = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<std::uint16_t*>(source), kPictureWidth, kPictureHeight, 16, kPictureWidth * 2,
            SDL_PIXELFORMAT_RGB565);
        if (wrapped) {
            SDL_Rect destination = p;
            SDL_BlitScaled(wrapped, nullptr, target, &destination);
            SDL_FreeSurface(wrapped);
        }
        return;
    }
    if (s.channelsFormat != target->format->format) {
        // A packed pixel is the OR of its channels: what each 5- or 6-bit
        // channel of the picture becomes, in three small tables.
        const SDL_PixelFormat* f = target->format;
        const auto part = [f](std::uint16_t pixel, Uint32 mask) {
            const Colour c = common::FromPixel(pixel);
            return SDL_MapRGB(f, static_cast<Uint8>(c & 0xFF), static_cast<Uint8>((c >> 8) & 0xFF),
                              static_cast<Uint8>((c >> 16) & 0xFF)) & mask;
        };
        for (std::uint16_t v = 0; v < 32; ++v) {
            s.channels.red[v] = part(static_cast<std::uint16_t>(v << 11), f->Rmask);
            s.channels.blue[v] = part(v, f->Bmask);
        }
        for (std::uint16_t v = 0; v < 64; ++v) s.channels.green[v] = part(static_cast<std::uint16_t>(v << 5), f->Gmask);
        s.channels.alpha = f->Amask;
        s.channelsFormat = f->format;
    }
    const State::Channels& k = s.channels;
    int previousRow = -1;
    Uint32* previousLine = nullptr;
    for (int y = area.y; y < area.y + area.h; ++y) {
        auto* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) +
                                               static_cast<std::ptrdiff_t>(y) * target->pitch);
        const int row = s.sourceRow[static_cast<std::size_t>(y - p.y)];
        if (row == previousRow && previousLine != nullptr) {
            std::copy(previousLine + area.x, previousLine + area.x + area.w, line + area.x);  // a repeated row
        } else {
            const std::uint16_t* sourceLine = source + static_cast<std::ptrdiff_t>(row) * kPictureWidth;
            for (int x = area.x; x < area.x + area.w; ++x) {
                const std::uint16_t v = sourceLine[s.sourceColumn[static_cast<std::size_t>(x - p.x)]];
                line[x] = k.red[v >> 11] | k.green[(v >> 5) & 0x3F] | k.blue[v & 0x1F] | k.alpha;
            }
        }
        previousRow = row;
        previousLine = line;
    }
}

// The window pixels that show the picture's rectangle: every window column or
// row whose sample lies in it (one more on each side covers the rounding).
SDL_Rect OnWindow(const Rect& r) {
    const SDL_Rect& p = S().picture;
    const auto scale = [](std::int64_t v, int size, int of) { return static_cast<int>(v * size / of); };
    const int left = std::max(0, scale(r.left, p.w, kPictureWidth) - 1);
    const int top = std::max(0, scale(r.top, p.h, kPictureHeight) - 1);
    const int right = std::min(p.w, scale(r.right, p.w, kPictureWidth) + 2);
    const int bottom = std::min(p.h, scale(r.bottom, p.h, kPictureHeight) + 2);
    return SDL_Rect{p.x + left, p.y + top, std::max(0, right - left), std::max(0, bottom - top)};
}

}  // namespace

void Present(bool always) {
    State& s = S();
    if (s.window == nullptr) return;
    const Surface primary = common::Emulated().primary;
    // Before the screen surface exists the window is black, and stays so.
    if (!always && !s.exposed && (primary == nullptr || primary->dirty.Empty())) return;
    SDL_Surface* target = s.presentsFail ? nullptr : SDL_GetWindowSurface(s.window);
    if (target == nullptr) Fatal("cannot get the window's picture");
    Layout(target->w, target->h);  // a new size exposes the whole window
    const bool whole = always || s.exposed || primary == nullptr;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);

    SDL_Rect shown[common::DirtyRegion::kMost];
    int count = 0;
    if (whole) {
        // Bars (and everything before the primary surface exists) are black.
        const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
        const SDL_Rect& p = s.picture;
        if (primary == nullptr) {
            SDL_FillRect(target, nullptr, black);
        } else {
            const SDL_Rect bars[4] = {{0, 0, target->w, p.y},
                                      {0, p.y + p.h, target->w, target->h - p.y - p.h},
                                      {0, p.y, p.x, p.h},
                                      {p.x + p.w, p.y, target->w - p.x - p.w, p.h}};
            for (const SDL_Rect& bar : bars) {
                if (bar.w > 0 && bar.h > 0) SDL_FillRect(target, &bar, black);
            }
            Convert(target, primary->pixels.data(), p);
        }
    } else {
        for (int i = 0; i < primary->dirty.Count(); ++i) {
            const SDL_Rect area = OnWindow(primary->dirty[i]);
            if (area.w <= 0 || area.h <= 0) continue;
            Convert(target, primary->pixels.data(), area);
            shown[count++] = area;
        }
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    const int result = whole ? SDL_UpdateWindowSurface(s.window)
                             : count > 0 ? SDL_UpdateWindowSurfaceRects(s.window, shown, count) : 0;
    if (result != 0 || s.presentsFail) Fatal("cannot show the window's picture");
    if (primary) primary->dirty.Clear();
    s.exposed = false;
}

void PresentNow() { Present(true); }
void PresentDrawn() { Present(false); }

}  // namespace platform::sdl

namespace platform::backend {

void Handled() { sdl::Present(false); }

}  // namespace platform::backend
