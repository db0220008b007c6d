// What the game asks of the X server past SDL: a window mapped full screen from
// the start, and the pointer's true place on the window. Every call answers
// false when the window is not an X11 one (Wayland), and the caller then does
// what SDL alone can.
#pragma once

#include <SDL.h>

namespace platform::sdl::x11 {

// Gives the window, not yet mapped, the state of a full-screen window
// (`_NET_WM_STATE_FULLSCREEN` in its initial `_NET_WM_STATE`, no fixed size),
// so that a window manager maps it over its panels at once and nobody waits
// for a change. False when the window is not an X11 one.
bool StartFullScreen(SDL_Window* window);

// Where the pointer is on the window now, in window pixels (also outside it).
bool PointerOnWindow(SDL_Window* window, int* x, int* y);

// Waits until the X server has sent everything it had for the window's
// connection (what came while a dialog showed is then in SDL's reach).
void Sync(SDL_Window* window);

// For a window system event: whether it is a press of the left button on the
// window, and where on the window it was made. SDL reports a press at the last
// pointer place it saw, which is stale when the window moved after it.
bool LeftPressAt(const SDL_SysWMmsg* message, SDL_Window* window, int* x, int* y);

}  // namespace platform::sdl::x11
