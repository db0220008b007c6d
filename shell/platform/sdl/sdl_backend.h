// What the SDL backend offers beyond the platform interface: for its benchmark
// and its real-window test, never for the game.
#pragma once

namespace platform::sdl {

// Shows the primary surface on the window now, whether or not anything was drawn.
void PresentNow();

}  // namespace platform::sdl
