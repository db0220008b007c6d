#include "platform/sdl/sdl_x11.h"

#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(WOLBY_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#define WOLBY_X11 1
#endif

namespace platform::sdl::x11 {

#ifdef WOLBY_X11

namespace {

struct Native {
    Display* display = nullptr;
    ::Window window = 0;
};

bool NativeOf(SDL_Window* window, Native* native) {
    if (window == nullptr) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    native->display = info.info.x11.display;
    native->window = info.info.x11.window;
    return native->display != nullptr && native->window != 0;
}

}  // namespace

bool StartFullScreen(SDL_Window* window) {
    Native n;
    if (!NativeOf(window, &n)) return false;
    // A window manager reads the initial state when the window is mapped
    // (EWMH), so SDL's request after mapping, and its wait of up to 100 ms for
    // an answer that a bare server or a window already of the monitor's size
    // never gives, are not needed.
    Atom fullScreen = XInternAtom(n.display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(n.display, n.window, XInternAtom(n.display, "_NET_WM_STATE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&fullScreen), 1);
    // A fixed size makes some window managers refuse full screen (and keeps the
    // window from following a new monitor size): drop it, as SDL's own request does.
    if (XSizeHints* hints = XAllocSizeHints()) {
        long supplied = 0;
        if (XGetWMNormalHints(n.display, n.window, hints, &supplied)) {
            hints->flags &= ~(PMinSize | PMaxSize);
            XSetWMNormalHints(n.display, n.window, hints);
        }
        XFree(hints);
    }
    return true;
}

bool PointerOnWindow(SDL_Window* window, int* x, int* y) {
    Native n;
    if (!NativeOf(window, &n)) return false;
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    unsigned buttons = 0;
    // False when the pointer is on another screen: no place on this window.
    return XQueryPointer(n.display, n.window, &root, &child, &rootX, &rootY, x, y, &buttons) == True;
}

void Sync(SDL_Window* window) {
    Native n;
    if (NativeOf(window, &n)) XSync(n.display, False);
}

bool LeftPressAt(const SDL_SysWMmsg* message, SDL_Window* window, int* x, int* y) {
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& event = message->msg.x11.event;
    if (event.type != ButtonPress || event.xbutton.button != Button1) return false;
    Native n;
    if (!NativeOf(window, &n) || event.xbutton.window != n.window) return false;
    // The event's own place: relative to the window where it was when pressed.
    *x = event.xbutton.x;
    *y = event.xbutton.y;
    return true;
}

#else

bool StartFullScreen(SDL_Window*) { return false; }
bool PointerOnWindow(SDL_Window*, int*, int*) { return false; }
void Sync(SDL_Window*) {}
bool LeftPressAt(const SDL_SysWMmsg*, SDL_Window*, int*, int*) { return false; }

#endif

}  // namespace platform::sdl::x11
