// Waits until points of the X screen show given colours, all of them in one
// picture of the screen, looking every 20 ms. For the real-window checks of a
// state that lasts only a moment (a disc that the computer may turn back half
// a second later), which a screenshot tool, taking most of a second on a busy
// machine, can miss.
//   screen_watch <seconds> <tolerance> <x> <y> <r> <g> <b> [<x> <y> <r> <g> <b> ...]
// A point matches when each channel of its colour is within the tolerance
// (lib.sh's, the 16-bit display's rounding). Exit status 0 when seen; 1
// when the time ran out, the colours last seen on standard error; 2 on a
// wrong command line or no display.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Point {
    int x, y;
    long r, g, b;
};

bool ReadInt(const char* text, long* value) {
    char* end = nullptr;
    *value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

// The 8-bit value of one channel of a pixel, from the image's mask.
long Channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1UL) == 0) ++shift;
    const unsigned long top = mask >> shift;
    return static_cast<long>(((pixel & mask) >> shift) * 255UL / top);
}

// A point off the screen makes XGetImage fail with an X error, which must not
// end the program: the failure is reported as a missing image.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    long seconds = 0;
    long tolerance = 0;
    if (argc < 8 || (argc - 3) % 5 != 0 || !ReadInt(argv[1], &seconds) || seconds < 0 ||
        !ReadInt(argv[2], &tolerance) || tolerance < 0) {
        std::fprintf(stderr, "usage: screen_watch <seconds> <tolerance> <x> <y> <r> <g> <b> [...]\n");
        return 2;
    }
    std::vector<Point> points;
    for (int i = 3; i < argc; i += 5) {
        long values[5] = {};
        for (int k = 0; k < 5; ++k) {
            if (!ReadInt(argv[i + k], &values[k])) {
                std::fprintf(stderr, "screen_watch: not a number: %s\n", argv[i + k]);
                return 2;
            }
        }
        points.push_back({static_cast<int>(values[0]), static_cast<int>(values[1]), values[2], values[3], values[4]});
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "screen_watch: no display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreError);
    // One request for the rectangle around all points: one moment of the screen.
    int left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (const Point& p : points) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    const auto width = static_cast<unsigned>(right - left + 1);
    const auto height = static_cast<unsigned>(bottom - top + 1);
    const Window root = DefaultRootWindow(display);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::string seen;
    for (;;) {
        XImage* image = XGetImage(display, root, left, top, width, height, AllPlanes, ZPixmap);
        if (image == nullptr) {
            std::fprintf(stderr, "screen_watch: the points lie outside the screen\n");
            XCloseDisplay(display);
            return 2;
        }
        bool all = true;
        seen.clear();
        for (const Point& p : points) {
            const unsigned long pixel = XGetPixel(image, p.x - left, p.y - top);
            const long r = Channel(pixel, image->red_mask);
            const long g = Channel(pixel, image->green_mask);
            const long b = Channel(pixel, image->blue_mask);
            all = all && std::labs(r - p.r) <= tolerance && std::labs(g - p.g) <= tolerance &&
                  std::labs(b - p.b) <= tolerance;
            seen += " (" + std::to_string(p.x) + ", " + std::to_string(p.y) + "): " + std::to_string(r) + " " +
                    std::to_string(g) + " " + std::to_string(b);
        }
        XDestroyImage(image);
        if (all) break;
        if (std::chrono::steady_clock::now() >= deadline) {
            std::fprintf(stderr, "screen_watch: last seen%s\n", seen.c_str());
            XCloseDisplay(display);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XCloseDisplay(display);
    return 0;
}
