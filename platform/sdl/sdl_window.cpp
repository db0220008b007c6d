// The real game window: SDL's video, the window over one whole monitor (or an
// ordinary window with --window), its icon and the fork cursor.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/backend.h"
#include "platform/common/window_system.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_images.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/sdl_x11.h"

namespace platform {

namespace sdl {

namespace {

// The game covers the primary monitor: SDL's first display.
constexpr int kDisplay = 0;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

// Whether SDL_VIDEODRIVER names the driver: only then do the drivers that show
// nothing count as a display.
bool NamedByUser(const char* driver) {
    const char* named = std::getenv("SDL_VIDEODRIVER");
    if (named == nullptr) return false;
    std::string list = named;
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        if (SDL_strcasecmp(list.substr(start, end - start).c_str(), driver) == 0) return true;
        start = end + 1;
    }
    return false;
}

std::string NoDisplayReason() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 == nullptr || *x11 == '\0') && (wayland == nullptr || *wayland == '\0')) {
        return "no display: set DISPLAY or WAYLAND_DISPLAY";
    }
    std::string why = "no display: cannot open";
    if (x11 && *x11) why += std::string(" DISPLAY=") + x11;
    if (wayland && *wayland) why += std::string(" WAYLAND_DISPLAY=") + wayland;
    return why;
}

}  // namespace

State& S() {
    static State state;
    return state;
}

bool OpenDisplay(std::string* why) {
    State& s = S();
    if (s.videoStarted) return true;
    // The game reads keys, never text: the input method SDL opens needs no
    // compose table, whose parse (half a megabyte in a UTF-8 locale) was half
    // the start-up's work.
    setenv("XCOMPOSEFILE", "/dev/null", 1);
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (why) *why = NoDisplayReason() + " (" + SDL_GetError() + ")";
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr ||
        ((std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) && !NamedByUser(driver))) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (why) *why = NoDisplayReason();
        return false;
    }
    // On X11 the window surface is then a plain shared-memory image, not an
    // OpenGL texture: far less memory and a faster first picture. Wayland has no
    // such image in SDL: there the hint would leave the window with no surface.
    if (std::strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    s.videoStarted = true;
    return true;
}

bool StartVideo() { return OpenDisplay(nullptr); }

void UseWindow(bool windowed) { S().windowed = windowed; }

void FailPresents() { S().presentsFail = true; }

void Fatal(const char* what) {
    std::fprintf(stderr, "wolby: %s (%s)\n", what, SDL_GetError());
    std::fflush(stderr);
    std::_Exit(0);
}

void UpdateCursor() {
    State& s = S();
    if (!s.cursorWanted || s.picture.w <= 0) return;
    // The fork at the picture's scale, so that its middle prong lies the click
    // correction's 15 picture pixels right of the hot spot.
    const int size = std::max(8, static_cast<int>(std::lround(32.0 * s.picture.w / 800.0)));
    if (size == s.cursorSize && s.cursor != nullptr) return;
    SDL_Cursor* cursor = CreateForkCursor(size);
    if (cursor == nullptr) return;
    SDL_SetCursor(cursor);
    if (s.cursor) SDL_FreeCursor(s.cursor);
    s.cursor = cursor;
    s.cursorSize = size;
}

}  // namespace sdl

namespace backend {

bool Allows(Call call) { return call != Call::DirectDrawCreate || sdl::StartVideo(); }

void DesktopSize(std::int32_t* width, std::int32_t* height) {
    SDL_DisplayMode mode{};
    if (!sdl::StartVideo() || SDL_GetDesktopDisplayMode(sdl::kDisplay, &mode) != 0) {
        mode.w = sdl::kWindowWidth;
        mode.h = sdl::kWindowHeight;
    }
    *width = mode.w;
    *height = mode.h;
}

bool OpenWindow(const char* title, std::int32_t, std::int32_t, std::int32_t width,
                std::int32_t height) {
    sdl::State& s = sdl::S();
    if (s.window || !sdl::StartVideo()) return false;
    SDL_Window* window = nullptr;
    if (s.windowed) {
        window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED_DISPLAY(sdl::kDisplay),
                                  SDL_WINDOWPOS_CENTERED_DISPLAY(sdl::kDisplay), sdl::kWindowWidth,
                                  sdl::kWindowHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
    } else {
        // Made at the monitor's place and size, in full screen: window managers
        // put only a full-screen window over their panels, and with none (a
        // bare X server) the window is right as made. On X11 the window is
        // full screen before it is mapped; SDL would ask after mapping and
        // wait for an answer.
        SDL_Rect bounds{0, 0, std::max(width, 1), std::max(height, 1)};
        SDL_GetDisplayBounds(sdl::kDisplay, &bounds);
        const char* driver = SDL_GetCurrentVideoDriver();
        const bool x11 = driver != nullptr && std::strcmp(driver, "x11") == 0;
        const Uint32 flags = x11 ? SDL_WINDOW_HIDDEN : SDL_WINDOW_HIDDEN | SDL_WINDOW_FULLSCREEN_DESKTOP;
        window = SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h, flags);
        if (window != nullptr && x11 && !sdl::x11::StartFullScreen(window)) {
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        }
        s.fullScreen = window != nullptr;
    }
    if (window == nullptr) {
        std::fprintf(stderr, "wolby: no window (%s)\n", SDL_GetError());
        return false;
    }
    // The window system's own events carry the true place of a press.
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    if (SDL_Surface* icon = sdl::CreateIcon()) {
        SDL_SetWindowIcon(window, icon);
        SDL_FreeSurface(icon);
    }
    s.window = window;
    s.exposed = true;
    return true;
}

}  // namespace backend

void ShowWindow(Window window) {
    if (window && sdl::S().window) {
        SDL_ShowWindow(sdl::S().window);
        sdl::Present(true);
    }
}

void UpdateWindow(Window window) {
    // As on Windows, only what is not shown yet: ShowWindow has just shown all.
    if (window && sdl::S().window) sdl::Present(false);
}

void SetForegroundWindow(Window window) {
    if (window && sdl::S().window) SDL_RaiseWindow(sdl::S().window);
}

Cursor LoadCursor(int resource) {
    if (resource != kForkCursor || !sdl::StartVideo()) return nullptr;
    return common::ForkCursor();
}

void SetCursor(Cursor cursor) {
    if (cursor == nullptr) return;
    sdl::State& s = sdl::S();
    s.cursorWanted = true;
    // Until the window's picture is laid out, the fork has its own size.
    if (s.picture.w <= 0 && s.cursor == nullptr) {
        s.cursor = sdl::CreateForkCursor(32);
        s.cursorSize = 32;
        if (s.cursor) SDL_SetCursor(s.cursor);
    }
    sdl::UpdateCursor();
}

}  // namespace platform
