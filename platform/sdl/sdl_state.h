// The SDL backend's own state, shared by its files: the native window, the
// cursor, and where the 800 x 600 picture lies on the window.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace platform::sdl {

struct State {
    bool videoStarted = false;
    bool windowed = false;       // --window: an ordinary window, not the whole screen
    SDL_Window* window = nullptr;
    bool fullScreen = false;     // asked the window manager for full screen
    bool destroyed = false;      // WM_DESTROY has been posted
    bool presentsFail = false;   // a test's fault switch

    // The fork cursor, drawn at the picture's scale.
    bool cursorWanted = false;
    SDL_Cursor* cursor = nullptr;
    int cursorSize = 0;

    // Where the picture lies on the window, and the maps from window columns
    // and rows back to the picture's.
    SDL_Rect picture{0, 0, 0, 0};
    int layoutWidth = 0;
    int layoutHeight = 0;
    std::vector<int> sourceColumn;
    std::vector<int> sourceRow;
    // RGB565 -> the window surface's pixel format, channel by channel.
    struct Channels {
        Uint32 red[32];
        Uint32 green[64];
        Uint32 blue[32];
        Uint32 alpha;
    };
    Channels channels{};
    Uint32 channelsFormat = SDL_PIXELFORMAT_UNKNOWN;
    bool exposed = true;  // the whole window must be shown again

    // A left press the window system reported with its true place on the
    // window, for SDL's button event that follows it.
    bool pressKnown = false;
    int pressX = 0;
    int pressY = 0;
};

State& S();

// Starts SDL's video once; false when there is no display.
bool StartVideo();
// Shows what was drawn since the last present (everything when `always` or
// when the window was exposed). A window whose picture cannot be had or shown
// ends the program.
void Present(bool always);
// Lays the picture out on a window of this size (Present does it for the
// window's picture; a size change does it before the pointer is mapped).
void Layout(int width, int height);
// Drops the input the window has received and not yet handled: what a person
// did to the game while a dialog showed.
void DropInput();
// A window point as the picture's point, packed as a mouse message's lParam; a
// point in a bar goes to the nearest edge.
std::intptr_t PictureParam(int x, int y);
// Makes the cursor match the picture's scale (after the layout changed).
void UpdateCursor();
// Ends the program at once with a line on standard error: it must never run on
// without a visible window.
[[noreturn]] void Fatal(const char* what);

}  // namespace platform::sdl
