// Prints the cursor the X server shows now, as XFixes reads it:
//   "cursor <width> <height> <hot x> <hot y> prongs <x> <x> ..."
// where the x values are where the runs of visible pixels in its top row start.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cursor_probe: no display\n");
        return 1;
    }
    int event = 0;
    int error = 0;
    if (!XFixesQueryExtension(display, &event, &error)) {
        std::fprintf(stderr, "cursor_probe: no XFixes\n");
        return 1;
    }
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (image == nullptr) {
        std::fprintf(stderr, "cursor_probe: no cursor image\n");
        return 1;
    }
    std::printf("cursor %d %d %d %d prongs", image->width, image->height, image->xhot, image->yhot);
    bool inside = false;
    for (int x = 0; x < image->width; ++x) {
        const bool visible = (image->pixels[x] >> 24) != 0;  // the top row, ARGB
        if (visible && !inside) std::printf(" %d", x);
        inside = visible;
    }
    std::printf("\n");
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
