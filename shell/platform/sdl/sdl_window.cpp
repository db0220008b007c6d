// The real game window: SDL's video, the window over the whole desktop, its
// icon and the fork cursor.
#include <algorithm>
#include <cstdio>

#include "shell/platform/common/backend.h"
#include "shell/platform/platform.h"
#include "shell/platform/sdl/sdl_images.h"
#include "shell/platform/sdl/sdl_state.h"

namespace platform {

struct CursorObject {
    SDL_Cursor* sdl = nullptr;
};

namespace sdl {

State& S() {
    static State state;
    return state;
}

bool StartVideo() {
    State& s = S();
    if (s.videoStarted) return true;
    if (s.videoFailed) return false;
    // The window surface must be a plain shared-memory image, not an OpenGL texture.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "Wolby: no display (%s)\n", SDL_GetError());
        s.videoFailed = true;
        return false;
    }
    s.videoStarted = true;
    return true;
}

}  // namespace sdl

namespace backend {

bool Allows(Call call) { return call != Call::DirectDrawCreate || sdl::StartVideo(); }

void DesktopSize(std::int32_t* width, std::int32_t* height) {
    SDL_DisplayMode mode{};
    if (!sdl::StartVideo() || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        mode.w = 800;
        mode.h = 600;
    }
    *width = mode.w;
    *height = mode.h;
}

bool OpenWindow(const char* title, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height) {
    sdl::State& s = sdl::S();
    if (s.window || !sdl::StartVideo()) return false;
    SDL_Window* window = SDL_CreateWindow(title, x, y, std::max(width, 1), std::max(height, 1),
                                          SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        std::fprintf(stderr, "Wolby: no window (%s)\n", SDL_GetError());
        return false;
    }
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
    if (window && sdl::S().window) sdl::Present(true);
}

void SetForegroundWindow(Window window) {
    if (window && sdl::S().window) SDL_RaiseWindow(sdl::S().window);
}

Cursor LoadCursor(int resource) {
    static CursorObject fork;
    if (resource != kForkCursor || !sdl::StartVideo()) return nullptr;
    if (fork.sdl == nullptr) fork.sdl = sdl::CreateForkCursor();
    return fork.sdl ? &fork : nullptr;
}

void SetCursor(Cursor cursor) {
    if (cursor && cursor->sdl) SDL_SetCursor(cursor->sdl);
}

}  // namespace platform
