// The controls of the headless backend: a virtual clock the test moves, posted
// input, scripted dialogs, fault switches and the scenario that moves a test on
// when the program waits, all through the backend's seams (driver.h).
#include "tests/support/headless_controls.h"

#include <cstdio>
#include <deque>
#include <map>

#include "platform/common/bitmap_file.h"
#include "platform/common/message_box.h"
#include "platform/common/surface.h"
#include "platform/common/text.h"
#include "platform/common/window_system.h"
#include "platform/headless/driver.h"

namespace platform {

namespace {

// Far more idle moments than any scenario needs, and spent in well under a
// second by a handler that only lets time pass.
constexpr std::int64_t kIdleBudget = 20000;

struct State {
    std::int64_t target = 0;  // where AdvanceTime lets the clock run to

    headless::IdleHandler idle;
    std::vector<std::function<void()>> steps;
    std::size_t nextStep = 0;
    bool stalled = false;
    std::int64_t idleBudget = kIdleBudget;
    std::int64_t idleMoments = 0;

    std::deque<int> answers;
    std::vector<headless::ShownMessageBox> shown;
    bool unscripted = false;

    std::map<headless::Fault, bool> faults;
    std::set<std::string> texts;  // distinct: a long soak draws the same few
};

State& S() {
    static State state;
    return state;
}

std::int64_t& Clock() { return headless::Driven().now; }

// Outside the state: Reset keeps it.
headless::StallReporter& Reporter() {
    static headless::StallReporter reporter;
    return reporter;
}

bool Faulty(headless::Fault fault) {
    auto found = S().faults.find(fault);
    return found != S().faults.end() && found->second;
}

// Lets the scenario move on; false when it could not (a stall).
bool RunIdleStep() {
    State& s = S();
    if (++s.idleMoments > s.idleBudget) {
        const std::string why = "the scenario was stopped after " + std::to_string(s.idleBudget) +
                                " idle moments without an end (" + std::to_string(Clock()) + " ms of virtual time)";
        if (Reporter()) {
            Reporter()(why);
        } else {
            std::fprintf(stderr, "%s\n", why.c_str());
        }
        return false;
    }
    const common::MessageQueue& queue = common::Emulated().queue;
    const std::size_t postedBefore = queue.Size();
    const std::int64_t targetBefore = s.target;
    const std::int64_t nowBefore = Clock();
    const bool invalidBefore = common::Emulated().invalid;
    if (!s.idle) return false;
    s.idle();
    return queue.Size() != postedBefore || s.target != targetBefore || Clock() != nowBefore ||
           queue.QuitPending() || common::Emulated().invalid != invalidBefore;
}

bool Wait(std::optional<std::int64_t> deadline) {
    State& s = S();
    std::int64_t& now = Clock();
    // Virtual time runs to the next timer's expiry, at most as far as the test allowed.
    if (now < s.target) {
        now = (deadline && *deadline < s.target) ? std::max(*deadline, now) : s.target;
        return true;
    }
    if (RunIdleStep()) return true;
    s.stalled = true;
    return false;
}

int AnswerMessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    State& s = S();
    const common::BoxRequest box(text, caption, type);
    s.shown.push_back({box.text, box.caption, type, owner != nullptr});
    if (s.answers.empty()) {
        s.unscripted = true;
        return box.unanswered;
    }
    const int answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

// Every program that uses a control is driven from its start.
void Drive() {
    headless::Driver& driver = headless::Driven();
    driver.allows = [](headless::Fault call) { return !Faulty(call); };
    driver.wait = Wait;
    driver.messageBox = AnswerMessageBox;
}
[[maybe_unused]] const bool driven = (Drive(), true);

}  // namespace

// ---------------------------------------------------------------- controls
namespace headless {

void Reset() {
    S() = State{};
    Clock() = 0;
    Driven().cursor = nullptr;
    common::ObserveTextOut([](std::string_view line) { S().texts.emplace(line); });
    common::ResetEmulation();
    common::DestroyAll();
}

std::int64_t Now() { return Clock(); }

void AdvanceTime(std::int64_t ms) {
    if (ms <= 0) return;
    State& s = S();
    s.target = std::max(s.target, Clock()) + ms;
}

void PostMouseMove(std::int32_t x, std::int32_t y) {
    common::PostToWindow(WM_MOUSEMOVE, 0, PackPoint(x, y));
}

void PostLeftClick(std::int32_t x, std::int32_t y) { common::PostClick(PackPoint(x, y)); }

void PostKey(std::uintptr_t virtualKey) { common::PostToWindow(WM_KEYDOWN, virtualKey, 0); }

void CloseWindow() {
    if (common::Emulated().window) common::PostToWindow(WM_DESTROY, 0, 0);
}

void SwitchAway() {
    common::Emulation& e = common::Emulated();
    if (!e.window) return;
    common::PostToWindow(WM_ACTIVATEAPP, 0, 0);
    common::LoseAllSurfaces();
    e.modeSet = false;
}

void SwitchBack() {
    if (common::Emulated().window) common::PostToWindow(WM_ACTIVATEAPP, 1, 0);
}

void InvalidateWindow() { common::Emulated().invalid = true; }

void SetIdleHandler(IdleHandler handler) {
    S().steps.clear();
    S().idle = std::move(handler);
    SetIdleBudget(kIdleBudget);
}

void SetScenario(std::vector<std::function<void()>> steps) {
    State& s = S();
    s.steps = std::move(steps);
    s.nextStep = 0;
    SetIdleBudget(kIdleBudget);
    s.idle = [] {
        State& state = S();
        if (state.nextStep >= state.steps.size()) return;
        // The step may replace the scenario, so it runs from a copy.
        auto step = state.steps[state.nextStep++];
        step();
    };
}

bool TakeStall() {
    const bool was = S().stalled || common::Emulated().stuck;
    S().stalled = false;
    common::Emulated().stuck = false;
    return was;
}

void SetIdleBudget(std::int64_t moments) {
    S().idleBudget = moments;
    S().idleMoments = 0;
}

void SetStallReporter(StallReporter reporter) { Reporter() = std::move(reporter); }

void ScriptMessageBoxAnswer(int answer) { S().answers.push_back(answer); }

std::vector<ShownMessageBox> TakeShownMessageBoxes() {
    std::vector<ShownMessageBox> shown;
    shown.swap(S().shown);
    return shown;
}

int PendingMessageBoxAnswers() { return static_cast<int>(S().answers.size()); }

bool TakeUnscriptedMessageBox() {
    const bool was = S().unscripted;
    S().unscripted = false;
    return was;
}

bool WindowCreated() { return common::Emulated().window != nullptr; }
Cursor CurrentCursor() { return Driven().cursor; }

std::uint16_t RawPixelAt(std::int32_t x, std::int32_t y) {
    const Surface primary = common::Emulated().primary;
    if (primary == nullptr || x < 0 || y < 0 || x >= primary->width || y >= primary->height) {
        return 0;
    }
    return primary->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(primary->width) +
                           static_cast<std::size_t>(x)];
}

Colour PixelAt(std::int32_t x, std::int32_t y) {
    const Surface primary = common::Emulated().primary;
    if (primary == nullptr || x < 0 || y < 0 || x >= primary->width || y >= primary->height) {
        return 0xFFFFFFFF;
    }
    return common::FromPixel(RawPixelAt(x, y));
}

std::set<std::string> TakeDrawnTexts() {
    std::set<std::string> texts;
    texts.swap(S().texts);
    return texts;
}

bool SaveScreen(const std::string& path) { return common::WriteBmp24(common::Emulated().primary, path); }

Colour Quantised(Colour colour) { return common::FromPixel(common::ToPixel(colour)); }

void SetFault(Fault fault, bool on) { S().faults[fault] = on; }

bool TimerRunning(std::uintptr_t id) { return common::Emulated().timers.Running(id); }
int LiveBrushes() { return common::LiveBrushes(); }
int LiveSurfaces() { return common::LiveSurfaces(); }

}  // namespace headless
}  // namespace platform
