// The browser backend: the game in a page, on the window system and display
// that the Linux backends share (common/). The page's events only queue
// (web_input.cpp); the program's waits suspend it with Asyncify and are ended
// by the next event or deadline, so an idle tab costs nothing.
#include "platform/web/web_backend.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>

#include "platform/common/backend.h"
#include "platform/common/message_box.h"
#include "platform/common/program_images.h"
#include "platform/common/text.h"
#include "platform/common/window_system.h"
#include "platform/web/web_input.h"
#include "platform/web/web_page.h"
#include "platform/web/web_present.h"

namespace platform {

namespace backend {

// The page has one picture and nothing else can refuse. Each surface is a long
// step of the start (the sheet read and decoded before the second), so the
// page gets its thread back before one is made.
bool Allows(Call call) {
    if (call == Call::CreateOffscreenSurface) web::StepDone();
    return true;
}

std::int64_t Now() { return static_cast<std::int64_t>(emscripten_get_now()); }

// The page is the game's whole desktop: the picture's own size.
void DesktopSize(std::int32_t* width, std::int32_t* height) {
    *width = common::kPictureWidth;
    *height = common::kPictureHeight;
}

bool OpenWindow(const char*, std::int32_t, std::int32_t, std::int32_t, std::int32_t) { return web::Open(); }

// The page's events were queued as they came.
void Pump() {}

bool Wait(std::optional<std::int64_t> deadline) {
    web::StepDone();
    web::Present(false);
    if (common::Emulated().queue.Size() > 0) return true;
    const double timeout = deadline ? static_cast<double>(std::max<std::int64_t>(*deadline - Now(), 0)) : -1.0;
    wolby_web_wait(timeout);
    return true;
}

void Handled() { web::Present(false); }

double PauseClock() { return emscripten_get_now(); }
void PauseUntil(double began, double until) { wolby_web_pause(began, until); }

}  // namespace backend

void ShowWindow(Window) {}
void UpdateWindow(Window) {}
void SetForegroundWindow(Window) {}

Cursor LoadCursor(int resource) { return resource == kForkCursor ? common::ForkCursor() : nullptr; }

void SetCursor(Cursor cursor) {
    if (cursor == nullptr) {
        wolby_web_set_cursor(nullptr);
        return;
    }
    std::array<std::uint8_t, images::kSize * images::kSize> mask{};
    for (int y = 0; y < images::kSize; ++y) {
        for (int x = 0; x < images::kSize; ++x) {
            mask[static_cast<std::size_t>(y * images::kSize + x)] = images::ForkPixel(x, y) ? 1 : 0;
        }
    }
    wolby_web_set_cursor(mask.data());
    web::StepDone();
}

int MessageBox(Window, const char* text, const char* caption, unsigned type) {
    const common::BoxRequest box(text, caption, type);
    web::Present(false);
    web::HoldInput(true);
    const int button = wolby_web_message_box(box.utf8Text.c_str(), box.utf8Caption.c_str(), box.yesNo ? 1 : 0,
                                             box.error ? 1 : 0);
    web::HoldInput(false);
    if (!box.yesNo) return IDOK;
    return button == 0 ? IDYES : IDNO;
}

namespace web {

// Every line the game writes goes to the page as well, which keeps those that
// tell the match's state where a screen reader finds them.
bool Open() {
    common::ObserveTextOut([](std::string_view line) { wolby_web_line(common::Cp1250ToUtf8(line).c_str()); });
    const bool listening = StartInput();
    StepDone();
    return listening;
}

void StepDone() {
    if (!Shown()) wolby_web_yield();
}

void Ended(int status) {
    emscripten_html5_remove_all_event_listeners();
    wolby_web_ended(status);
}

}  // namespace web
}  // namespace platform
