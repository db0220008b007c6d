// The headless backend: the program's window, display, clock, input and dialogs
// with no screen, for tests. Drawing is the common code's, as in the real game.
#include "shell/platform/headless/headless.h"

#include <cstdio>
#include <deque>
#include <map>
#include <memory>

#include "players/calendar_time.h"
#include "shell/platform/common/bitmap_file.h"
#include "shell/platform/common/message_queue.h"
#include "shell/platform/common/surface.h"
#include "shell/platform/common/timers.h"

namespace platform {

struct WindowObject {
    std::int32_t width = 0;
    std::int32_t height = 0;
};
struct DirectDrawObject {
    int unused = 0;
};
struct CursorObject {
    int resource = 0;
};

namespace {

// A desktop larger than the game's mode, as most are, so that tests see the
// window keep the desktop's size.
constexpr std::int32_t kDesktopWidth = 1024;
constexpr std::int32_t kDesktopHeight = 768;

// Far more idle moments than any scenario needs, and spent in well under a
// second by a handler that only lets time pass.
constexpr std::int64_t kIdleBudget = 20000;

struct State {
    std::map<std::string, WindowProc> classes;
    std::unique_ptr<WindowObject> window;
    std::unique_ptr<DirectDrawObject> directDraw;
    bool cooperative = false;
    bool modeSet = false;
    Surface primary = nullptr;
    Cursor cursor = nullptr;

    std::int64_t now = 0;
    std::int64_t target = 0;  // where AdvanceTime lets the clock run to
    std::int64_t calendar = 0;
    common::TimerSet timers;
    common::MessageQueue queue;

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
};

State& S() {
    static State state;
    return state;
}

// Outside the state: Reset keeps it.
headless::StallReporter& Reporter() {
    static headless::StallReporter reporter;
    return reporter;
}

CursorObject g_forkCursor{kForkCursor};

bool Faulty(headless::Fault fault) {
    auto found = S().faults.find(fault);
    return found != S().faults.end() && found->second;
}

std::int64_t HeadlessCalendar() { return S().calendar; }

void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    S().queue.Post(Message{S().window.get(), message, wParam, lParam});
}

std::intptr_t PointParam(std::int32_t x, std::int32_t y) {
    const auto low = static_cast<std::uint32_t>(x) & 0xFFFFu;
    const auto high = static_cast<std::uint32_t>(y) & 0xFFFFu;
    return static_cast<std::intptr_t>(low | (high << 16));
}

// Lets the scenario move on; false when it could not (a stall).
bool RunIdleStep() {
    State& s = S();
    if (++s.idleMoments > s.idleBudget) {
        const std::string why = "the scenario was stopped after " + std::to_string(s.idleBudget) +
                                " idle moments without an end (" + std::to_string(s.now) + " ms of virtual time)";
        if (Reporter()) {
            Reporter()(why);
        } else {
            std::fprintf(stderr, "%s\n", why.c_str());
        }
        return false;
    }
    const std::size_t postedBefore = s.queue.Size();
    const std::int64_t targetBefore = s.target;
    const std::int64_t nowBefore = s.now;
    if (s.idle) {
        s.idle();
    } else {
        return false;
    }
    return s.queue.Size() != postedBefore || s.target != targetBefore || s.now != nowBefore ||
           s.queue.QuitPending();
}

}  // namespace

// ---------------------------------------------------------------- window system
bool RegisterClassEx(const char* className, WindowProc procedure) {
    if (className == nullptr || procedure == nullptr) return false;
    S().classes[className] = procedure;
    return true;
}

Window CreateWindowEx(const char* className, const char* /*title*/, std::int32_t /*x*/,
                      std::int32_t /*y*/, std::int32_t width, std::int32_t height) {
    if (className == nullptr || S().classes.count(className) == 0 || S().window) return nullptr;
    S().window = std::make_unique<WindowObject>(WindowObject{width, height});
    return S().window.get();
}

void ShowWindow(Window) {}
void UpdateWindow(Window) {}
void SetForegroundWindow(Window) {}

Cursor LoadCursor(int resource) { return resource == kForkCursor ? &g_forkCursor : nullptr; }
void SetCursor(Cursor cursor) { S().cursor = cursor; }

std::int32_t GetSystemMetrics(int index) {
    const bool mode = S().modeSet;
    if (index == SM_CXSCREEN) return mode ? 800 : kDesktopWidth;
    if (index == SM_CYSCREEN) return mode ? 600 : kDesktopHeight;
    return 0;
}

bool GetMessage(Message* message) {
    State& s = S();
    for (;;) {
        const common::MessageQueue::Taken taken = s.queue.Take(s.window.get(), message);
        if (taken != common::MessageQueue::Taken::Nothing) return taken == common::MessageQueue::Taken::Message;
        if (s.timers.TakeTick(s.now, message)) return true;
        if (s.now < s.target) {
            const auto expiry = s.timers.NextExpiry();
            s.now = (expiry && *expiry < s.target) ? *expiry : s.target;
            continue;
        }
        if (!RunIdleStep()) {
            s.stalled = true;
            if (message) *message = Message{s.window.get(), WM_QUIT, 0, 0};
            return false;
        }
    }
}

void TranslateMessage(const Message*) {}

std::intptr_t DispatchMessage(const Message* message) {
    if (message == nullptr || message->window == nullptr ||
        message->window != S().window.get() || S().classes.empty()) {
        return 0;
    }
    // The one class's procedure handles the one window.
    return S().classes.begin()->second(message->window, message->message, message->wParam,
                                       message->lParam);
}

std::intptr_t DefWindowProc(Window, unsigned, std::uintptr_t, std::intptr_t) { return 0; }

void PostQuitMessage(int) { S().queue.PostQuit(); }

void SetTimer(Window window, std::uintptr_t id, unsigned periodMs) {
    S().timers.Set(window, id, periodMs, S().now);
}

void KillTimer(Window, std::uintptr_t id) { S().timers.Kill(id); }

void Sleep(unsigned ms) { S().now += ms; }

std::int64_t CalendarTime() { return S().calendar; }

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    State& s = S();
    s.shown.push_back({text ? text : "", caption ? caption : "", type, owner != nullptr});
    if (s.answers.empty()) {
        s.unscripted = true;
        return (type & 0xF) == MB_YESNO ? IDNO : IDOK;
    }
    const int answer = s.answers.front();
    s.answers.pop_front();
    return answer;
}

// ---------------------------------------------------------------- display
bool DirectDrawCreate(DirectDraw* directDraw) {
    if (directDraw == nullptr) return false;
    if (Faulty(headless::Fault::DirectDrawCreate)) {
        *directDraw = nullptr;
        return false;
    }
    if (!S().directDraw) S().directDraw = std::make_unique<DirectDrawObject>();
    *directDraw = S().directDraw.get();
    return true;
}

bool SetCooperativeLevel(DirectDraw directDraw, Window window, unsigned flags) {
    if (Faulty(headless::Fault::SetCooperativeLevel)) return false;
    if (directDraw == nullptr || directDraw != S().directDraw.get() || window == nullptr ||
        window != S().window.get()) {
        return false;
    }
    S().cooperative = (flags & DDSCL_EXCLUSIVE) != 0;
    return true;
}

bool SetDisplayMode(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                    std::int32_t bitsPerPixel) {
    if (Faulty(headless::Fault::SetDisplayMode)) return false;
    // The one mode there is: the game's.
    if (directDraw == nullptr || directDraw != S().directDraw.get() || !S().cooperative ||
        width != 800 || height != 600 || bitsPerPixel != 16) {
        return false;
    }
    S().modeSet = true;
    return true;
}

bool CreatePrimarySurface(DirectDraw directDraw, Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (Faulty(headless::Fault::CreatePrimarySurface)) return false;
    if (directDraw == nullptr || directDraw != S().directDraw.get() || S().primary) return false;
    S().primary = common::NewSurface(800, 600);
    *surface = S().primary;
    return *surface != nullptr;
}

bool CreateOffscreenSurface(DirectDraw directDraw, std::int32_t width, std::int32_t height,
                            Surface* surface) {
    if (surface == nullptr) return false;
    *surface = nullptr;
    if (Faulty(headless::Fault::CreateOffscreenSurface)) return false;
    if (directDraw == nullptr || directDraw != S().directDraw.get()) return false;
    *surface = common::NewSurface(width, height);
    return *surface != nullptr;
}

DrawingContext GetDC(Surface surface) {
    if (Faulty(headless::Fault::GetDC)) return nullptr;
    return common::OpenContext(surface);
}

void ReleaseDC(Surface surface, DrawingContext context) { common::CloseContext(surface, context); }

// ---------------------------------------------------------------- controls
namespace headless {

void Reset() {
    State& s = S();
    s = State{};
    common::DestroyAll();
    SetCalendarTimeSource(&HeadlessCalendar);
}

std::int64_t Now() { return S().now; }

void AdvanceTime(std::int64_t ms) {
    if (ms <= 0) return;
    State& s = S();
    s.target = std::max(s.target, s.now) + ms;
}

void SetCalendarTime(std::int64_t seconds) {
    S().calendar = seconds;
    SetCalendarTimeSource(&HeadlessCalendar);
}

void PostMouseMove(std::int32_t x, std::int32_t y) { Post(WM_MOUSEMOVE, 0, PointParam(x, y)); }

void PostLeftClick(std::int32_t x, std::int32_t y) {
    PostMouseMove(x, y);
    Post(WM_LBUTTONDOWN, 1 /* MK_LBUTTON */, PointParam(x, y));
}

void PostKey(std::uintptr_t virtualKey) { Post(WM_KEYDOWN, virtualKey, 0); }

void CloseWindow() {
    if (S().window) Post(WM_DESTROY, 0, 0);
}

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
    const bool was = S().stalled;
    S().stalled = false;
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

bool WindowCreated() { return S().window != nullptr; }

std::uint16_t RawPixelAt(std::int32_t x, std::int32_t y) {
    const Surface primary = S().primary;
    if (primary == nullptr || x < 0 || y < 0 || x >= primary->width || y >= primary->height) {
        return 0;
    }
    return primary->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(primary->width) +
                           static_cast<std::size_t>(x)];
}

Colour PixelAt(std::int32_t x, std::int32_t y) {
    const Surface primary = S().primary;
    if (primary == nullptr || x < 0 || y < 0 || x >= primary->width || y >= primary->height) {
        return 0xFFFFFFFF;
    }
    return common::FromPixel(RawPixelAt(x, y));
}

bool SaveScreen(const std::string& path) { return common::WriteBmp24(S().primary, path); }

Colour Quantised(Colour colour) { return common::FromPixel(common::ToPixel(colour)); }

void SetFault(Fault fault, bool on) { S().faults[fault] = on; }

bool TimerRunning(std::uintptr_t id) { return S().timers.Running(id); }
int LiveBrushes() { return common::LiveBrushes(); }
int LiveSurfaces() { return common::LiveSurfaces(); }

}  // namespace headless
}  // namespace platform
