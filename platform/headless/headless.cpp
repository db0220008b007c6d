#include "platform/common/message_box.h"
#include "platform/common/window_system.h"
#include "platform/headless/driver.h"

namespace platform {

namespace headless {

Driver& Driven() {
    static Driver driver;
    return driver;
}

}  // namespace headless

using headless::Driven;

namespace backend {

bool Allows(Call call) { return !Driven().allows || Driven().allows(call); }

std::int64_t Now() { return Driven().now; }

// A desktop larger than the game's mode, as most are, so that tests see the
// window keep the desktop's size.
void DesktopSize(std::int32_t* width, std::int32_t* height) {
    *width = 1024;
    *height = 768;
}

bool OpenWindow(const char*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return true; }

void Pump() {}

bool Wait(std::optional<std::int64_t> deadline) { return Driven().wait && Driven().wait(deadline); }

void Handled() {}

double PauseClock() { return static_cast<double>(Driven().now); }

void PauseUntil(double, double until) { Driven().now = static_cast<std::int64_t>(until); }

}  // namespace backend

void ShowWindow(Window) {}
void UpdateWindow(Window) {}
void SetForegroundWindow(Window) {}

Cursor LoadCursor(int resource) { return resource == kForkCursor ? common::ForkCursor() : nullptr; }
void SetCursor(Cursor cursor) { Driven().cursor = cursor; }

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    if (Driven().messageBox) return Driven().messageBox(owner, text, caption, type);
    return common::BoxRequest(text, caption, type).unanswered;
}

}  // namespace platform
