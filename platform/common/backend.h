// What a backend lends the window system and display that the headless, SDL
// and browser backends share (window_system.cpp, display.cpp): everything that
// differs between a real window and none. Each backend defines every function
// here; the rest of the platform interface it defines directly (ShowWindow, the
// cursor, MessageBox from message_box.h), with the fork cursor and the posted
// click from window_system.h. The Windows backend has none of this: it calls
// Win32 itself.
#pragma once

#include <cstdint>
#include <optional>

namespace platform::backend {

// Calls a backend may refuse: the headless backend's fault switches, or the
// display that the real window cannot have.
enum class Call {
    DirectDrawCreate,
    SetCooperativeLevel,
    SetDisplayMode,
    CreatePrimarySurface,
    CreateOffscreenSurface,
    GetDC,
};
bool Allows(Call call);

// The backend's clock in milliseconds; timers run on it.
std::int64_t Now();

// The desktop's size, which the screen has until the display mode is set.
void DesktopSize(std::int32_t* width, std::int32_t* height);

// The native side of the game window; false when there can be none.
bool OpenWindow(const char* title, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height);

// Takes the input that has come (without waiting) and posts it.
void Pump();
// Waits until input comes or the clock reaches `deadline` (none: no timer
// runs), and posts what came. False when nothing can ever come: the message
// loop then ends as if told to quit.
bool Wait(std::optional<std::int64_t> deadline);

// A message has been handled: what it drew may be shown. Sleep shows it too.
void Handled();

// Sleep's clock in milliseconds, as fine as the backend's own.
double PauseClock();
// Holds the thread, taking no input, until PauseClock reads `until`; the pause
// was asked for at `began`.
void PauseUntil(double began, double until);

}  // namespace platform::backend
