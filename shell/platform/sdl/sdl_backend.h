// What the SDL backend offers beyond the platform interface: for the program's
// entry point, its benchmark and its real-window test, never for the game.
#pragma once

namespace platform::sdl {

// Shows the primary surface on the window now, whether or not anything was drawn.
void PresentNow();

// Whether the player asked for a window (--window) instead of the full screen;
// called before the game starts.
void UseWindow(bool windowed);

}  // namespace platform::sdl
