// The window system and the display as the headless, SDL and browser backends
// emulate them: one window class, one window, the message queue and the
// timers, the display object, its one mode and its surfaces. What differs
// between a real window and none comes from the backend (backend.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/common/message_queue.h"
#include "platform/common/timers.h"
#include "platform/platform.h"

namespace platform {

// The game window; where the backend placed it, in the desktop's pixels.
struct WindowObject {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct DirectDrawObject {
    int unused = 0;
};

namespace common {

constexpr std::int32_t kPictureWidth = 800;   // the game's display mode
constexpr std::int32_t kPictureHeight = 600;

struct Emulation {
    std::map<std::string, WindowProc> classes;
    std::unique_ptr<WindowObject> window;
    std::unique_ptr<DirectDrawObject> directDraw;
    bool cooperative = false;
    bool modeSet = false;
    Surface primary = nullptr;  // the visible screen, once made
    TimerSet timers;
    MessageQueue queue;
    // The window's picture must be drawn again: WM_PAINT is due until validated.
    bool invalid = false;
    int paintsUnvalidated = 0;
    bool stuck = false;  // the procedure never validated: the loop ended
};

Emulation& Emulated();
// Forgets the window, the display and every queued message and timer (the
// surfaces themselves are the registry's: DestroyAll).
void ResetEmulation();

// Posts a message for the game window. Pointer moves not yet taken fold into
// the latest, as on Win32, when `foldMoves` is set.
void PostToWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                  bool foldMoves = false);
// The program's one cursor, the fork, as LoadCursor(kForkCursor) answers it;
// each backend shows it in its own way.
Cursor ForkCursor();

// The virtual-key code of the key that types `c`: ESC ('\x1b'), Enter ('\r'),
// space, a letter of either case or a digit; any other key is 0xFF, as the
// game only tells ESC from the rest.
std::uintptr_t VirtualKeyFor(char c);

// A press of the left button at `point` (PackPoint), as the window system
// reports one: the pointer's move there first, then the press.
void PostClick(std::intptr_t point, bool foldMoves = false);

}  // namespace common
}  // namespace platform
