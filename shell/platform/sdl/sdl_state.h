// The SDL backend's own state, shared by its files: the native window, the
// cursor, and where the 800 x 600 picture lies on the window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace platform::sdl {

struct State {
    bool videoStarted = false;
    bool videoFailed = false;
    SDL_Window* window = nullptr;
    SDL_Cursor* cursor = nullptr;
    bool destroyed = false;  // WM_DESTROY has been posted

    // Where the picture lies on the window, and the maps from window columns
    // and rows back to the picture's.
    SDL_Rect picture{0, 0, 0, 0};
    int layoutWidth = 0;
    int layoutHeight = 0;
    std::vector<int> sourceColumn;
    std::vector<int> sourceRow;
    std::vector<Uint32> palette;  // RGB565 -> the window surface's pixel format
    Uint32 paletteFormat = 0;
    bool exposed = true;  // the whole window must be shown again
};

State& S();

// Starts SDL's video once; false when there is no display.
bool StartVideo();
// Shows what was drawn (everything when `always`).
void Present(bool always);
// A window point as the picture's point, packed as a mouse message's lParam; a
// point in a bar goes to the nearest edge.
std::intptr_t PictureParam(int x, int y);

}  // namespace platform::sdl
