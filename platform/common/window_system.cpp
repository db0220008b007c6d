#include "platform/common/window_system.h"

#include <algorithm>

#include "platform/common/backend.h"
#include "platform/common/surface.h"

namespace platform {

// A cursor is only the resource it was loaded from.
struct CursorObject {
    int resource = 0;
};

namespace common {

namespace {

// As on Windows, a window that is never validated gets WM_PAINT again and
// again; past this many in a row the program is taken as stuck.
constexpr int kMaxPaintsUnvalidated = 100;

}  // namespace

Emulation& Emulated() {
    static Emulation emulation;
    return emulation;
}

void ResetEmulation() { Emulated() = Emulation{}; }

void PostToWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, bool foldMoves) {
    Emulation& e = Emulated();
    const Message posted{e.window.get(), message, wParam, lParam};
    if (foldMoves) {
        e.queue.PostFoldingMoves(posted);
    } else {
        e.queue.Post(posted);
    }
}

Cursor ForkCursor() {
    static CursorObject fork{kForkCursor};
    return &fork;
}

std::uintptr_t VirtualKeyFor(char c) {
    if (c == '\x1b') return VK_ESCAPE;
    if (c == '\r' || c == ' ') return static_cast<std::uintptr_t>(c);
    if (c >= 'a' && c <= 'z') return static_cast<std::uintptr_t>(c - 'a' + 'A');
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<std::uintptr_t>(c);
    return 0xFF;
}

void PostClick(std::intptr_t point, bool foldMoves) {
    PostToWindow(WM_MOUSEMOVE, 0, point, foldMoves);
    PostToWindow(WM_LBUTTONDOWN, 1 /* MK_LBUTTON */, point, foldMoves);
}

}  // namespace common

bool RegisterClassEx(const char* className, WindowProc procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    common::Emulated().classes[className] = procedure;
    return true;
}

Window CreateWindowEx(const char* className, const char* title, std::int32_t x, std::int32_t y,
                      std::int32_t width, std::int32_t height) {
    common::Emulation& e = common::Emulated();
    if (className == nullptr || e.classes.count(className) == 0 || e.window) return nullptr;
    if (!backend::OpenWindow(title ? title : "", x, y, width, height)) return nullptr;
    e.window = std::make_unique<WindowObject>(WindowObject{x, y, width, height});
    return e.window.get();
}

void ValidateRect(Window window) {
    common::Emulation& e = common::Emulated();
    if (window != nullptr && window == e.window.get()) {
        e.invalid = false;
        e.paintsUnvalidated = 0;
    }
}

std::int32_t GetSystemMetrics(int index) {
    std::int32_t width = common::kPictureWidth;
    std::int32_t height = common::kPictureHeight;
    if (!common::Emulated().modeSet) backend::DesktopSize(&width, &height);
    if (index == SM_CXSCREEN) return width;
    if (index == SM_CYSCREEN) return height;
    return 0;
}

bool GetMessage(Message* message) {
    common::Emulation& e = common::Emulated();
    for (;;) {
        backend::Pump();
        const common::MessageQueue::Taken taken = e.queue.Take(e.window.get(), message);
        if (taken != common::MessageQueue::Taken::Nothing) {
            return taken == common::MessageQueue::Taken::Message;
        }
        // A call that met a lost surface asks for the window to be painted;
        // painting comes after posted messages and before timer ticks.
        if (common::TakeLostSurfaceMet()) e.invalid = true;
        if (e.invalid && e.window) {
            if (++e.paintsUnvalidated > common::kMaxPaintsUnvalidated) {
                e.stuck = true;
                if (message) *message = Message{e.window.get(), WM_QUIT, 0, 0};
                return false;
            }
            if (message) *message = Message{e.window.get(), WM_PAINT, 0, 0};
            return true;
        }
        if (e.timers.TakeTick(backend::Now(), message)) return true;
        if (!backend::Wait(e.timers.NextExpiry())) {
            if (message) *message = Message{e.window.get(), WM_QUIT, 0, 0};
            return false;
        }
    }
}

void TranslateMessage(const Message*) {}

std::intptr_t DispatchMessage(const Message* message) {
    common::Emulation& e = common::Emulated();
    if (message == nullptr || message->window == nullptr || message->window != e.window.get() ||
        e.classes.empty()) {
        return 0;
    }
    // The one class's procedure handles the one window.
    const std::intptr_t result = e.classes.begin()->second(message->window, message->message,
                                                           message->wParam, message->lParam);
    backend::Handled();
    return result;
}

std::intptr_t DefWindowProc(Window, unsigned, std::uintptr_t, std::intptr_t) { return 0; }

void PostQuitMessage(int) { common::Emulated().queue.PostQuit(); }

void SetTimer(Window window, std::uintptr_t id, unsigned periodMs) {
    common::Emulated().timers.Set(window, id, periodMs, backend::Now());
}

void KillTimer(Window, std::uintptr_t id) { common::Emulated().timers.Kill(id); }

void Sleep(unsigned ms) {
    // The pause ends `ms` after the call: showing what was drawn is part of it,
    // so the animation keeps its pace on every screen size.
    const double began = backend::PauseClock();
    backend::Handled();
    backend::PauseUntil(began, began + ms);
}

}  // namespace platform
