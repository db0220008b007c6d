// What the SDL backend offers beyond the platform interface: for the program's
// entry point, its benchmarks and its real-window tests, never for the game.
#pragma once

#include <string>

namespace platform::sdl {

// From here on SIGTERM and SIGINT end the program at once with status 1 (what
// the window's destruction gives), whatever it is doing: before the window
// exists, while a file opens, while a dialog shows. Called first of all.
void EndOnSignals();

// Starts SDL's video. False when there is no display to show the game on (SDL's
// offscreen and dummy drivers count as none unless SDL_VIDEODRIVER names them);
// `why` then says so in one line for the person.
bool OpenDisplay(std::string* why);
// An ordinary resizable 800 x 600 window instead of the whole screen. Before
// the window is made.
void UseWindow(bool windowed);

// Shows the primary surface on the window now, whether or not anything was drawn.
void PresentNow();
// Shows what was drawn since the last present, as the message loop does.
void PresentDrawn();

// For tests: from now on every present fails, as when the window's picture can
// no longer be had (the program then says so and ends).
void FailPresents();

}  // namespace platform::sdl
