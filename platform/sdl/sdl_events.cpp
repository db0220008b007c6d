// The real clock and input: SDL's events become the window's messages, and
// the loop blocks in SDL's wait until input comes or the next timer falls due.
#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/common/backend.h"
#include "platform/common/window_system.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/sdl_x11.h"

namespace platform {

namespace {

using sdl::S;

void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    common::PostToWindow(message, wParam, lParam, /*foldMoves=*/true);
}

void Destroy() {
    if (S().destroyed) return;
    S().destroyed = true;
    Post(WM_DESTROY, 0, 0);
}

std::uintptr_t VirtualKey(const SDL_Keysym& key) {
    // SDL's codes of the keys that type a character are that character.
    const SDL_Keycode code = key.sym;
    if (code == SDLK_KP_ENTER) return common::VirtualKeyFor('\r');
    return common::VirtualKeyFor(code > 0 && code < 128 ? static_cast<char>(code) : '\0');
}

// When the window moves or changes size under a pointer that stays still, no
// motion comes (SDL keeps the old place): the pointer's true place, mapped on
// the picture as it lies now, is posted as a move.
void PointerMovedOnWindow() {
    SDL_Window* window = S().window;
    if (window == nullptr) return;
    int x = 0;
    int y = 0;
    if (!sdl::x11::PointerOnWindow(window, &x, &y)) {
        if (SDL_GetMouseFocus() != window) return;
        SDL_GetMouseState(&x, &y);
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    sdl::Layout(width, height);
    Post(WM_MOUSEMOVE, 0, sdl::PictureParam(x, y));
}

void Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            Destroy();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                Destroy();
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                       event.window.event == SDL_WINDOWEVENT_SHOWN) {
                S().exposed = true;
            }
            if (event.window.event == SDL_WINDOWEVENT_MOVED ||
                event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                PointerMovedOnWindow();
            }
            break;
        case SDL_SYSWMEVENT:
            S().pressKnown = sdl::x11::LeftPressAt(event.syswm.msg, S().window, &S().pressX, &S().pressY);
            break;
        case SDL_MOUSEMOTION:
            Post(WM_MOUSEMOVE, 0, sdl::PictureParam(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT) {
                // SDL reports the press at the last place it saw the pointer;
                // the window system's own event has the true one.
                const bool known = S().pressKnown;
                const std::intptr_t point = sdl::PictureParam(known ? S().pressX : event.button.x,
                                                              known ? S().pressY : event.button.y);
                common::PostClick(point, /*foldMoves=*/true);
            }
            S().pressKnown = false;
            break;
        case SDL_KEYDOWN:
            // With no window manager nobody else turns Alt+F4 into a close.
            if (event.key.keysym.sym == SDLK_F4 && (event.key.keysym.mod & KMOD_ALT) != 0) {
                Destroy();
            } else {
                Post(WM_KEYDOWN, VirtualKey(event.key.keysym), 0);
            }
            break;
        default:
            break;
    }
}

}  // namespace

namespace sdl {

void DropInput() {
    if (!S().videoStarted) return;
    // Everything the window system sent before now, then none of its input.
    sdl::x11::Sync(S().window);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MULTIGESTURE);
    SDL_FlushEvent(SDL_SYSWMEVENT);
    S().pressKnown = false;
}

}  // namespace sdl

namespace backend {

std::int64_t Now() { return static_cast<std::int64_t>(SDL_GetTicks64()); }

void Pump() {
    if (!S().videoStarted) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) Translate(event);
}

bool Wait(std::optional<std::int64_t> deadline) {
    sdl::Present(false);
    const std::int64_t now = Now();
    const int timeout =
        deadline ? static_cast<int>(std::clamp<std::int64_t>(*deadline - now, 0, 1 << 30)) : -1;
    // Without a display nothing can ever come (the entry point does not start
    // the game then).
    if (!S().videoStarted) return false;
    SDL_Event event;
    const int got = timeout < 0 ? SDL_WaitEvent(&event) : SDL_WaitEventTimeout(&event, timeout);
    if (got) Translate(event);
    return true;
}

using PauseTime = std::chrono::duration<double, std::milli>;

double PauseClock() { return PauseTime(std::chrono::steady_clock::now().time_since_epoch()).count(); }

void PauseUntil(double, double until) {
    std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(PauseTime(until))));
}

}  // namespace backend

}  // namespace platform
