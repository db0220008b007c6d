// Only the rectangles drawn since the last present go to the page, each
// widened from RGB565 to RGBA as the headless backend reads pixels back, so the
// page shows exactly the Linux build's colours. The page scales the picture.
#include "platform/web/web_present.h"

#include <vector>

#include "platform/common/surface.h"
#include "platform/common/window_system.h"
#include "platform/web/web_input.h"
#include "platform/web/web_page.h"

namespace platform::web {
namespace {

void Put(const SurfaceObject& primary, const Rect& area) {
    static std::vector<std::uint32_t> rgba;
    const std::int32_t width = area.right - area.left;
    const std::int32_t height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    std::uint32_t* out = rgba.data();
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        const std::uint16_t* in = primary.pixels.data() + static_cast<std::ptrdiff_t>(y) * primary.width + area.left;
        for (std::int32_t x = 0; x < width; ++x) {
            // Red in the low byte: the RGBA bytes of a little-endian word, opaque.
            *out++ = common::FromPixel(in[x]) | 0xFF000000u;
        }
    }
    wolby_web_put_pixels(reinterpret_cast<const std::uint8_t*>(rgba.data()), area.left, area.top, width, height);
}

bool shown = false;

}  // namespace

bool Shown() { return shown; }

void Present(bool always) {
    const Surface primary = common::Emulated().primary;
    if (primary == nullptr) return;
    if (always || !shown) {
        Put(*primary, Rect{0, 0, primary->width, primary->height});
        if (!shown) HoldInput(false);
        shown = true;
    } else {
        for (int i = 0; i < primary->dirty.Count(); ++i) Put(*primary, primary->dirty[i]);
    }
    primary->dirty.Clear();
}

}  // namespace platform::web
