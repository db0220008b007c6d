// The headless message loop: input before ticks, coalescing timers on the
// virtual clock, scenarios that end instead of hanging, dialogs and start-up faults.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/common/window_system.h"
#include "tests/support/headless_controls.h"

using namespace platform;
namespace hl = platform::headless;

namespace {

struct Seen {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    std::int64_t at;
};
std::vector<Seen> g_seen;

std::intptr_t Record(Window window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    g_seen.push_back({message, wParam, lParam, hl::Now()});
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProc(window, message, wParam, lParam);
}

class MessageLoop : public ::testing::Test {
protected:
    void SetUp() override {
        hl::Reset();
        g_seen.clear();
        RegisterClassEx("Wolby", &Record);
        window_ = CreateWindowEx("Wolby", "Wolby", 0, 0, 1024, 768);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { hl::Reset(); }

    // Runs the loop as the game does until the quit message (or a stall).
    static void Run() {
        Message message;
        while (GetMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessage(&message);
        }
    }
    static std::vector<std::pair<std::uintptr_t, std::int64_t>> Ticks() {
        std::vector<std::pair<std::uintptr_t, std::int64_t>> ticks;
        for (const Seen& seen : g_seen) {
            if (seen.message == WM_TIMER) ticks.emplace_back(seen.wParam, seen.at);
        }
        return ticks;
    }

    Window window_ = nullptr;
};

TEST_F(MessageLoop, PostedInputComesBeforeDueTicksAndTheQuitAfterTheInput) {
    SetTimer(window_, 3, 50);
    Sleep(120);  // a tick is due
    hl::PostLeftClick(300, 200);
    hl::PostKey(VK_ESCAPE);
    PostQuitMessage(0);
    Run();
    EXPECT_FALSE(hl::TakeStall());
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_EQ(g_seen[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(g_seen[0].lParam, 300 | (200 << 16));
    EXPECT_EQ(g_seen[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(g_seen[1].lParam, 300 | (200 << 16));
    EXPECT_EQ(g_seen[2].message, WM_KEYDOWN);
    EXPECT_EQ(g_seen[2].wParam, VK_ESCAPE);
    // The tick still waits after the quit.
    hl::AdvanceTime(1);
    Message message;
    ASSERT_TRUE(GetMessage(&message));
    EXPECT_EQ(message.message, WM_TIMER);
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_EQ(message.window, window_);
}

TEST_F(MessageLoop, TicksKeepTheirRhythmAndMissedOnesFoldIntoOne) {
    SetTimer(window_, 3, 50);
    hl::SetScenario({[] { hl::AdvanceTime(120); }});
    Run();
    EXPECT_TRUE(hl::TakeStall());
    using TickList = std::vector<std::pair<std::uintptr_t, std::int64_t>>;
    EXPECT_EQ(Ticks(), (TickList{{3, 50}, {3, 100}}));
    EXPECT_EQ(hl::Now(), 120);

    // A long handler (the disc animation sleeps) lets several periods pass:
    // one tick is pending, delivered at once, and the rhythm stays on 50s.
    g_seen.clear();
    Sleep(333);  // now 453: expiries at 150 ... 450 all missed
    hl::SetScenario({[] { hl::AdvanceTime(100); }});
    Run();
    EXPECT_EQ(Ticks(), (TickList{{3, 453}, {3, 500}, {3, 550}}));
}

TEST_F(MessageLoop, TimersTickInTheOrderTheyFellDue) {
    SetTimer(window_, 1, 1000);
    SetTimer(window_, 0, 500);
    SetTimer(window_, 3, 300);
    hl::SetScenario({[] { hl::AdvanceTime(1000); }});
    Run();
    using TickList = std::vector<std::pair<std::uintptr_t, std::int64_t>>;
    EXPECT_EQ(Ticks(), (TickList{{3, 300}, {0, 500}, {3, 600}, {3, 900}, {1, 1000}, {0, 1000}}));

    // All three overdue together: the one that fell due first comes first.
    g_seen.clear();
    Sleep(1234);  // now 2234
    hl::SetScenario({[] { hl::AdvanceTime(1); }});
    Run();
    const auto ticks = Ticks();
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_EQ(ticks[0].first, 3u);  // missed since 1200
    EXPECT_EQ(ticks[1].first, 0u);  // since 1500
    EXPECT_EQ(ticks[2].first, 1u);  // since 2000
}

TEST_F(MessageLoop, AKilledTimerDeliversNothingMoreEvenATickAlreadyDue) {
    SetTimer(window_, 0, 500);
    Sleep(600);
    KillTimer(window_, 0);
    EXPECT_FALSE(hl::TimerRunning(0));
    hl::SetScenario({[] { hl::AdvanceTime(2000); }});
    Run();
    EXPECT_TRUE(Ticks().empty());
    EXPECT_EQ(hl::Now(), 2600);
}

TEST_F(MessageLoop, AHandlerThatStopsItsOwnTimerTicksOncePerStart) {
    static Window window;
    window = window_;
    hl::Reset();
    RegisterClassEx("Wolby", [](Window w, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
        if (message == WM_TIMER) KillTimer(w, wParam);
        return Record(w, message, wParam, lParam);
    });
    window = CreateWindowEx("Wolby", "Wolby", 0, 0, 1024, 768);
    SetTimer(window, 0, 500);
    hl::SetScenario({[] { hl::AdvanceTime(1700); }, [] { SetTimer(window, 0, 500); hl::AdvanceTime(1000); }});
    Run();
    using TickList = std::vector<std::pair<std::uintptr_t, std::int64_t>>;
    EXPECT_EQ(Ticks(), (TickList{{0, 500}, {0, 2200}}));
}

TEST_F(MessageLoop, SettingARunningTimerRestartsItsPeriod) {
    SetTimer(window_, 1, 1000);
    hl::SetScenario({[] { hl::AdvanceTime(700); },
                     [this] {
                         SetTimer(window_, 1, 1000);
                         hl::AdvanceTime(1500);
                     }});
    Run();
    using TickList = std::vector<std::pair<std::uintptr_t, std::int64_t>>;
    EXPECT_EQ(Ticks(), (TickList{{1, 1700}}));
}

TEST_F(MessageLoop, AScenarioThatCannotMoveOnEndsTheLoopAsAStall) {
    int calls = 0;
    hl::SetScenario({[] { hl::PostKey('A'); },
                     [&calls] { ++calls; /* checks only: no input, no time */ },
                     [&calls] { ++calls; }});
    Run();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(hl::TakeStall());
    EXPECT_FALSE(hl::TakeStall());
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].wParam, static_cast<std::uintptr_t>('A'));

    // With no handler at all the loop stalls at once.
    hl::SetIdleHandler(nullptr);
    Message message;
    EXPECT_FALSE(GetMessage(&message));
    EXPECT_TRUE(hl::TakeStall());
}

TEST_F(MessageLoop, AHandlerThatOnlyLetsTimePassIsStoppedByItsBudget) {
    std::vector<std::string> reasons;
    hl::SetStallReporter([&reasons](const std::string& why) { reasons.push_back(why); });
    int idle = 0;
    hl::SetIdleHandler([&idle] {
        ++idle;
        hl::AdvanceTime(500);
    });
    hl::SetIdleBudget(300);
    SetTimer(window_, 1, 1000);  // ticks keep coming, and nothing ever ends
    Run();
    hl::SetStallReporter(nullptr);
    EXPECT_TRUE(hl::TakeStall());
    EXPECT_EQ(idle, 300);
    ASSERT_EQ(reasons.size(), 1u);
    EXPECT_NE(reasons[0].find("300 idle moments"), std::string::npos) << reasons[0];

    // A new handler has a whole budget again.
    idle = 0;
    hl::SetIdleHandler([&idle] {
        if (++idle < 1000) hl::AdvanceTime(1);
        else hl::CloseWindow();
    });
    Run();
    EXPECT_FALSE(hl::TakeStall());
    EXPECT_EQ(idle, 1000);
}

TEST_F(MessageLoop, AnIdleHandlerRunsWheneverNothingIsDue) {
    int idle = 0;
    hl::SetIdleHandler([&idle] {
        ++idle;
        if (idle < 4) hl::AdvanceTime(10);
        else hl::CloseWindow();
    });
    SetTimer(window_, 3, 15);
    Run();
    EXPECT_FALSE(hl::TakeStall());
    EXPECT_EQ(idle, 4);
    EXPECT_EQ(hl::Now(), 30);
    ASSERT_FALSE(g_seen.empty());
    EXPECT_EQ(g_seen.back().message, WM_DESTROY);
    EXPECT_EQ(Ticks().size(), 2u);
}

TEST_F(MessageLoop, SleepMovesTheClockAtOnceWithoutDeliveringTicks) {
    SetTimer(window_, 3, 50);
    Sleep(10);
    Sleep(60);
    EXPECT_EQ(hl::Now(), 70);
    EXPECT_TRUE(g_seen.empty());
}

TEST_F(MessageLoop, MessageBoxesAreAnsweredFromTheScriptAndUnscriptedOnesAreRecorded) {
    hl::ScriptMessageBoxAnswer(IDYES);
    EXPECT_EQ(hl::PendingMessageBoxAnswers(), 1);
    EXPECT_EQ(MessageBox(nullptr, "Brak pliku", "B\xB3\xB9" "d", MB_YESNO), IDYES);
    EXPECT_FALSE(hl::TakeUnscriptedMessageBox());
    EXPECT_EQ(MessageBox(window_, "Nie mo\xBFna", "B\xB3\xB9" "d", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBox(window_, "x", "y", MB_OK | MB_ICONHAND), IDOK);
    EXPECT_TRUE(hl::TakeUnscriptedMessageBox());
    const auto shown = hl::TakeShownMessageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].caption, "B\xB3\xB9" "d");
    EXPECT_FALSE(shown[0].owned);
    EXPECT_TRUE(shown[1].owned);
    EXPECT_EQ(shown[2].type, MB_OK | MB_ICONHAND);
    EXPECT_TRUE(hl::TakeShownMessageBoxes().empty());
}

TEST_F(MessageLoop, ScreenSizeIsTheDesktopsUntilTheModeIsSet) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    DirectDraw dd = nullptr;
    ASSERT_TRUE(DirectDrawCreate(&dd));
    EXPECT_FALSE(SetDisplayMode(dd, 800, 600, 16));  // not before the cooperative level
    ASSERT_TRUE(SetCooperativeLevel(dd, window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    EXPECT_FALSE(SetDisplayMode(dd, 640, 480, 16));
    ASSERT_TRUE(SetDisplayMode(dd, 800, 600, 16));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    Surface primary = nullptr;
    ASSERT_TRUE(CreatePrimarySurface(dd, &primary));
    std::int32_t w = 0, h = 0;
    GetSurfaceSize(primary, &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    Surface second = nullptr;
    EXPECT_FALSE(CreatePrimarySurface(dd, &second));  // there is one screen
    EXPECT_EQ(hl::LiveSurfaces(), 1);
}

TEST_F(MessageLoop, FaultSwitchesMakeTheirOperationFail) {
    DirectDraw dd = nullptr;
    hl::SetFault(hl::Fault::DirectDrawCreate, true);
    EXPECT_FALSE(DirectDrawCreate(&dd));
    hl::SetFault(hl::Fault::DirectDrawCreate, false);
    ASSERT_TRUE(DirectDrawCreate(&dd));
    hl::SetFault(hl::Fault::SetCooperativeLevel, true);
    EXPECT_FALSE(SetCooperativeLevel(dd, window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    hl::SetFault(hl::Fault::SetCooperativeLevel, false);
    ASSERT_TRUE(SetCooperativeLevel(dd, window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN));
    hl::SetFault(hl::Fault::SetDisplayMode, true);
    EXPECT_FALSE(SetDisplayMode(dd, 800, 600, 16));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    hl::SetFault(hl::Fault::SetDisplayMode, false);
    ASSERT_TRUE(SetDisplayMode(dd, 800, 600, 16));
    Surface s = nullptr;
    hl::SetFault(hl::Fault::CreatePrimarySurface, true);
    EXPECT_FALSE(CreatePrimarySurface(dd, &s));
    EXPECT_EQ(s, nullptr);
    hl::SetFault(hl::Fault::CreateOffscreenSurface, true);
    EXPECT_FALSE(CreateOffscreenSurface(dd, 640, 480, &s));
    EXPECT_EQ(hl::LiveSurfaces(), 0);
    hl::Reset();  // clears the switches
    ASSERT_TRUE(DirectDrawCreate(&dd));
    EXPECT_TRUE(CreateOffscreenSurface(dd, 640, 480, &s));
    EXPECT_FALSE(hl::WindowCreated());
}

TEST_F(MessageLoop, CursorAndWindowCallsAnswerAsTheGameExpects) {
    EXPECT_NE(LoadCursor(kForkCursor), nullptr);
    EXPECT_EQ(LoadCursor(1), nullptr);
    EXPECT_EQ(CreateWindowEx("Other", "x", 0, 0, 10, 10), nullptr);
    EXPECT_TRUE(hl::WindowCreated());
}

}  // namespace

// What the SDL and browser backends post for a key and a point.
TEST(PostedInput, KeysMapToTheirVirtualCodesAndPointsToTheirSixteenBitHalves) {
    EXPECT_EQ(common::VirtualKeyFor('\x1b'), VK_ESCAPE);
    EXPECT_EQ(common::VirtualKeyFor('\r'), 13u);
    EXPECT_EQ(common::VirtualKeyFor(' '), 32u);
    EXPECT_EQ(common::VirtualKeyFor('q'), std::uintptr_t{'Q'});
    EXPECT_EQ(common::VirtualKeyFor('Q'), std::uintptr_t{'Q'});
    EXPECT_EQ(common::VirtualKeyFor('7'), std::uintptr_t{'7'});
    for (const char other : {'\0', '\t', '\b', '!', '`', '{', '@', '['}) {
        EXPECT_EQ(common::VirtualKeyFor(other), 0xFFu) << int{other};
    }
    EXPECT_EQ(PackPoint(799, 599), 799 | (599 << 16));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{799, 0}, std::pair{0, 599}, std::pair{799, 599}}) {
        EXPECT_EQ(PointX(PackPoint(x, y)), x);
        EXPECT_EQ(PointY(PackPoint(x, y)), y);
    }
}
