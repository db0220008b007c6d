// The page's events become the window's messages. A callback only queues and
// wakes the waiting program: it never draws and never waits.
#include "platform/web/web_input.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstring>

#include "platform/common/window_system.h"
#include "platform/web/web_page.h"

namespace platform::web {
namespace {

// The page's element under the picture and its bars: the whole page but its
// own controls.
constexpr const char* kStage = "#stage";

// The fork's middle prong lies this many picture pixels right of its hot spot;
// the game adds it to every click.
constexpr int kProngOffset = 15;

// Held from the start too: a tap or a key before the first picture lands on
// nothing the player has seen.
bool g_held = true;

}  // namespace

void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    common::PostToWindow(message, wParam, lParam, /*foldMoves=*/true);
    wolby_web_wake();
}

namespace {

void PostClick(std::intptr_t point) {
    common::PostClick(point, /*foldMoves=*/true);
    wolby_web_wake();
}

std::intptr_t Point(long clientX, long clientY, int shiftX = 0) {
    const int packed = wolby_web_picture_point(static_cast<int>(clientX), static_cast<int>(clientY));
    return PackPoint(std::max(0, PointX(packed) - shiftX), PointY(packed));
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* event, void*) {
    if (!g_held) Post(WM_MOUSEMOVE, 0, Point(event->clientX, event->clientY));
    return EM_FALSE;
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent* event, void*) {
    if (g_held || event->button != 0) return EM_FALSE;
    PostClick(Point(event->clientX, event->clientY));
    return EM_TRUE;  // no text selection, no focus change
}

// A tap plays what lies under the finger: for a touch the tapped point is the
// prong's point, so the game's correction is taken off first. The page then
// neither scrolls nor zooms, and makes no mouse events of its own.
EM_BOOL OnTouchStart(int, const EmscriptenTouchEvent* event, void*) {
    if (g_held) return EM_TRUE;
    for (int i = 0; i < event->numTouches; ++i) {
        const EmscriptenTouchPoint& touch = event->touches[i];
        if (!touch.isChanged) continue;
        PostClick(Point(touch.clientX, touch.clientY, kProngOffset));
        break;
    }
    return EM_TRUE;
}

EM_BOOL OnTouchOther(int, const EmscriptenTouchEvent*, void*) { return EM_TRUE; }

std::uintptr_t VirtualKey(const EmscriptenKeyboardEvent& key) {
    if (std::strcmp(key.key, "Escape") == 0) return common::VirtualKeyFor('\x1b');
    if (std::strcmp(key.key, "Enter") == 0) return common::VirtualKeyFor('\r');
    return common::VirtualKeyFor(key.key[0] != 0 && key.key[1] == 0 ? key.key[0] : '\0');
}

// The game takes every key; the browser keeps its own commands (with Ctrl, Alt
// or Meta, and the function keys), and nothing of the page reacts to the rest.
EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
    if (g_held) return EM_FALSE;  // the dialog answers Enter and Escape itself
    if (event->ctrlKey || event->altKey || event->metaKey) return EM_FALSE;
    if (event->key[0] == 'F' && event->key[1] >= '1' && event->key[1] <= '9') return EM_FALSE;
    if (wolby_web_page_has_keys() != 0) return EM_FALSE;
    Post(WM_KEYDOWN, VirtualKey(*event), 0);  // held keys repeat, as on the desktop
    return EM_TRUE;
}

}  // namespace

bool StartInput() {
    return emscripten_set_mousemove_callback(kStage, nullptr, EM_TRUE, OnMouseMove) == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_set_mousedown_callback(kStage, nullptr, EM_TRUE, OnMouseDown) == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_set_touchstart_callback(kStage, nullptr, EM_TRUE, OnTouchStart) == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_set_touchmove_callback(kStage, nullptr, EM_TRUE, OnTouchOther) == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_set_touchend_callback(kStage, nullptr, EM_TRUE, OnTouchOther) == EMSCRIPTEN_RESULT_SUCCESS &&
           emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnKeyDown) ==
               EMSCRIPTEN_RESULT_SUCCESS;
}

void HoldInput(bool held) { g_held = held; }

}  // namespace platform::web

// The page closes the game (to start it again with a settings file the player
// chose): as when a window is closed, the game ends with the window's destruction.
extern "C" EMSCRIPTEN_KEEPALIVE void wolby_web_close_window() {
    platform::web::Post(platform::WM_DESTROY, 0, 0);
}
