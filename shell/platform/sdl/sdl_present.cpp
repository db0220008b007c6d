// Showing the picture: the 800 x 600 RGB565 screen scaled onto the window
// surface in software (no OpenGL: far less memory and a faster first frame),
// with its aspect kept and black bars; and the map from window points back to
// the picture's.
#include <algorithm>

#include "shell/platform/common/backend.h"
#include "shell/platform/common/surface.h"
#include "shell/platform/common/window_system.h"
#include "shell/platform/sdl/sdl_backend.h"
#include "shell/platform/sdl/sdl_state.h"

namespace platform::sdl {

namespace {

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
    for (int x = 0; x < w; ++x) {
        s.sourceColumn[static_cast<std::size_t>(x)] =
            static_cast<int>((2 * std::int64_t{x} + 1) * kPictureWidth / (2 * std::int64_t{w}));
    }
    for (int y = 0; y < h; ++y) {
        s.sourceRow[static_cast<std::size_t>(y)] =
            static_cast<int>((2 * std::int64_t{y} + 1) * kPictureHeight / (2 * std::int64_t{h}));
    }
}

}  // namespace

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
    return static_cast<std::intptr_t>(static_cast<std::uint32_t>(px) | (static_cast<std::uint32_t>(py) << 16));
}

void Present(bool always) {
    State& s = S();
    if (s.window == nullptr) return;
    const Surface primary = common::Emulated().primary;
    const bool drawn = primary != nullptr && !primary->dirty.Empty();
    if (!always && !drawn && !s.exposed) return;
    SDL_Surface* target = SDL_GetWindowSurface(s.window);
    if (target == nullptr) return;
    Layout(target->w, target->h);
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);

    // Bars (and everything before the primary surface exists) are black.
    const Uint32 black = SDL_MapRGB(target->format, 0, 0, 0);
    if (primary == nullptr) {
        SDL_FillRect(target, nullptr, black);
    } else {
        const SDL_Rect& p = s.picture;
        const SDL_Rect bars[4] = {{0, 0, target->w, p.y},
                                  {0, p.y + p.h, target->w, target->h - p.y - p.h},
                                  {0, p.y, p.x, p.h},
                                  {p.x + p.w, p.y, target->w - p.x - p.w, p.h}};
        for (const SDL_Rect& bar : bars) {
            if (bar.w > 0 && bar.h > 0) SDL_FillRect(target, &bar, black);
        }
        if (target->format->BytesPerPixel == 4) {
            if (s.paletteFormat != target->format->format || s.palette.empty()) {
                s.palette.resize(65536);
                for (std::uint32_t v = 0; v < 65536; ++v) {
                    const Colour c = common::FromPixel(static_cast<std::uint16_t>(v));
                    s.palette[v] = SDL_MapRGB(target->format, static_cast<Uint8>(c & 0xFF),
                                              static_cast<Uint8>((c >> 8) & 0xFF),
                                              static_cast<Uint8>((c >> 16) & 0xFF));
                }
                s.paletteFormat = target->format->format;
            }
            const std::uint16_t* source = primary->pixels.data();
            int previousRow = -1;
            Uint32* previousLine = nullptr;
            for (int y = 0; y < p.h; ++y) {
                auto* line = reinterpret_cast<Uint32*>(static_cast<Uint8*>(target->pixels) +
                                                       static_cast<std::ptrdiff_t>(p.y + y) * target->pitch) + p.x;
                const int row = s.sourceRow[static_cast<std::size_t>(y)];
                if (row == previousRow && previousLine != nullptr) {
                    std::copy(previousLine, previousLine + p.w, line);  // a repeated row
                } else {
                    const std::uint16_t* sourceLine = source + static_cast<std::ptrdiff_t>(row) * kPictureWidth;
                    for (int x = 0; x < p.w; ++x) {
                        line[x] = s.palette[sourceLine[s.sourceColumn[static_cast<std::size_t>(x)]]];
                    }
                }
                previousRow = row;
                previousLine = line;
            }
        } else {
            // Unusual window formats: let SDL convert and scale.
            SDL_Surface* wrapped = SDL_CreateRGBSurfaceWithFormatFrom(
                primary->pixels.data(), kPictureWidth, kPictureHeight, 16, kPictureWidth * 2,
                SDL_PIXELFORMAT_RGB565);
            if (wrapped) {
                SDL_Rect destination = p;
                SDL_BlitScaled(wrapped, nullptr, target, &destination);
                SDL_FreeSurface(wrapped);
            }
        }
    }
    if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    SDL_UpdateWindowSurface(s.window);
    if (primary) primary->dirty.Clear();
    s.exposed = false;
}

void PresentNow() { Present(true); }

}  // namespace platform::sdl

namespace platform::backend {

void Handled() { sdl::Present(false); }

}  // namespace platform::backend
