// Controls of the headless backend (platform/headless), for tests: the same
// surfaces and drawing as the real game, with no window. Time is virtual, input
// is posted by the test, dialogs are answered from a script and the screen's
// pixels can be read back. A program that links them is driven by them from
// its start.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/platform.h"

namespace platform::headless {

// Forgets everything: window, surfaces, brushes, timers, queued input, clock
// (back to 0 ms), dialog script and failure switches.
void Reset();

// ---------------------------------------------------------------- time
// Virtual milliseconds since Reset. Only Sleep and AdvanceTime move it.
std::int64_t Now();
// Lets `ms` of virtual time pass for a program that is waiting in GetMessage:
// GetMessage delivers the timer ticks that fall due on the way, in time order,
// each handled before the clock moves on.
void AdvanceTime(std::int64_t ms);

// ---------------------------------------------------------------- input
// Positions are as the window procedure receives them (800 x 600 picture).
void PostMouseMove(std::int32_t x, std::int32_t y);
// A pointer move to the point, then the left button's press there.
void PostLeftClick(std::int32_t x, std::int32_t y);
void PostKey(std::uintptr_t virtualKey);
// The window manager closes the window: the window procedure gets WM_DESTROY.
void CloseWindow();
// Another program is switched to: WM_ACTIVATEAPP (0) is posted, every surface
// loses its memory (its pixels become stripes no screen draws) and the display
// goes back to the desktop's mode, as DirectDraw leaves them. Timers run on.
void SwitchAway();
// The game is switched back to: WM_ACTIVATEAPP (1) is posted. The surfaces stay
// lost and the mode the desktop's until the game restores them.
void SwitchBack();
// Something covered the window: WM_PAINT comes once the posted messages are
// handled (before any timer tick), and again until the window is validated.
void InvalidateWindow();

// ---------------------------------------------------------------- scenarios
// GetMessage calls the idle handler whenever nothing is queued or due. The
// handler moves the scenario on (posts input, advances time, checks pixels).
// If it does neither of the first two, the program is stuck: GetMessage records
// a stall and answers the quit message so the test ends instead of hanging.
using IdleHandler = std::function<void()>;
void SetIdleHandler(IdleHandler handler);
// Runs the steps one per idle moment, in order; after the last, a stall.
void SetScenario(std::vector<std::function<void()>> steps);
// True when GetMessage found nothing to do and no way forward, or the idle
// budget ran out; cleared by the call.
bool TakeStall();
// A scenario may run the idle handler this many times (SetIdleHandler and
// SetScenario start the count afresh, with 20,000): a handler that only lets
// time pass while the program never gets anywhere must not spin forever. When
// the budget is spent, GetMessage records a stall, tells the stall reporter and
// answers the quit message. Setting a budget starts the count afresh.
void SetIdleBudget(std::int64_t moments);
// Told why the scenario was stopped (the budget spent); the test adds what the
// program was doing. Kept across Reset; without one the reason goes to stderr.
using StallReporter = std::function<void(const std::string& why)>;
void SetStallReporter(StallReporter reporter);

// ---------------------------------------------------------------- dialogs
struct ShownMessageBox {
    std::string text;     // code page 1250, as the game passed it
    std::string caption;
    unsigned type;
    bool owned;           // shown with an owner window
};
// Queues the answer to the next message box. A box shown with no answer queued
// is recorded as unscripted and answered IDNO (Yes/No) or IDOK.
void ScriptMessageBoxAnswer(int answer);
// Every box shown since the last call, oldest first; clears the record.
std::vector<ShownMessageBox> TakeShownMessageBoxes();
int PendingMessageBoxAnswers();
// True when a box was shown with no answer scripted; cleared by the call.
bool TakeUnscriptedMessageBox();

// ---------------------------------------------------------------- the screen
bool WindowCreated();
// The cursor last set (null for none).
Cursor CurrentCursor();
// The primary surface's pixel as 0x00BBGGRR (its RGB565 value widened, with the
// low bits repeating the high ones so that white reads 0xFFFFFF), or 0xFFFFFFFF
// when there is no primary surface or the point is outside it.
Colour PixelAt(std::int32_t x, std::int32_t y);
// The RGB565 pixel itself.
std::uint16_t RawPixelAt(std::int32_t x, std::int32_t y);
// Every distinct line of text drawn since the last call (code page 1250).
std::set<std::string> TakeDrawnTexts();
// Writes the primary surface as a 24-bit BMP file.
bool SaveScreen(const std::string& path);
// Colour quantised as a surface stores it and read back as by PixelAt.
Colour Quantised(Colour colour);

// ---------------------------------------------------------------- faults
// The calls the backend may refuse (backend::Call); while a fault is set its
// call fails, each request for a drawing context too with Fault::GetDC.
using Fault = backend::Call;
void SetFault(Fault fault, bool on);

// ---------------------------------------------------------------- inspection
bool TimerRunning(std::uintptr_t id);
int LiveBrushes();   // created and not yet deleted
int LiveSurfaces();

}  // namespace platform::headless
