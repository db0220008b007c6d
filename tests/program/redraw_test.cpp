// The game switched away from and back to, and asked to paint its window: the
// screen comes back exactly as it was, drawn from the program's state, and the
// timers go on meanwhile as if the game had never been away.
#include "match/game.h"
#include "screens/credits.h"
#include "screens/match.h"
#include "screens/program_state.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "shell/main_window_proc.h"
#include "tests/support/program_fixture.h"
#include "tests/support/calendar.h"
#include "tests/support/clicks.h"

namespace wolby_test {
namespace {

namespace headless = platform::headless;
using Picture = std::vector<std::uint16_t>;
using Steps = std::vector<std::function<void()>>;

Picture TakePicture() {
    Picture picture;
    picture.reserve(800 * 600);
    for (std::int32_t y = 0; y < 600; ++y) {
        for (std::int32_t x = 0; x < 800; ++x) picture.push_back(headless::RawPixelAt(x, y));
    }
    return picture;
}

::testing::AssertionResult Same(const Picture& expected, const Picture& actual) {
    std::size_t differ = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        if (expected[i] != actual[i] && differ++ == 0) first = i;
    }
    if (differ == 0 && expected.size() == actual.size()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differ << " pixels differ, the first at (" << first % 800 << ", "
                                         << first / 800 << ")";
}

// Appends: take the picture, switch away and back; the picture must be back,
// with the surfaces restored and the game's display mode taken again. Then the
// screen is blacked out and the window asked to paint: the picture again.
void AwayAndBack(Steps& steps, Picture& before) {
    steps.push_back([&before] {
        before = TakePicture();
        headless::SwitchAway();
        headless::SwitchBack();
    });
    steps.push_back([&before] {
        EXPECT_FALSE(platform::IsLost(g_primarySurface));
        EXPECT_FALSE(platform::IsLost(g_sheetSurface));
        EXPECT_EQ(platform::GetSystemMetrics(platform::SM_CXSCREEN), 800);
        EXPECT_TRUE(Same(before, TakePicture())) << "after switching back";
        PaintBlack(0, 0, 800, 600);
        headless::InvalidateWindow();
    });
    steps.push_back([&before] {
        // The paint is done once: a window left invalid would be painted until the run stalls.
        EXPECT_TRUE(Same(before, TakePicture())) << "after WM_PAINT";
        headless::AdvanceTime(1);  // one more idle moment
    });
}

TEST_F(Program, TheMenuComesBackWithItsMarker) {
    WriteSettings({});
    Picture before;
    Steps steps{[] { PointAtMenuItem(MenuItem::Credits); }};  // over item 3
    AwayAndBack(steps, before);
    steps.push_back([] {
        EXPECT_TRUE(ShowsPiece(sheet::MenuMarker, 240, 270));
        // ESC draws the menu with no marker until the pointer moves again.
        headless::PostKey(platform::VK_ESCAPE);
    });
    AwayAndBack(steps, before);
    steps.push_back([] {
        EXPECT_TRUE(AllBlack(240, 170, 290, 370));
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
}

TEST_F(Program, TheOptionsComeBackWithTheirValuesAndColours) {
    WriteSettings({});
    Picture before;
    Steps steps{
        [] { ClickMenuItem(MenuItem::Options); },  // options
        [] {
            ClickOptionsArrow(options_layout::BoardSize, +1);  // board size up: 7x7
            ClickOptionsArrow(options_layout::HumanPlayers, +1);  // no more than two humans: nothing
            ClickOptionsArrow(options_layout::MoveSeconds, -1);  // no fewer than 0 seconds: nothing
            ClickOptionsArrow(options_layout::Colour2, +1);  // player 2's colour up
        },
    };
    AwayAndBack(steps, before);
    steps.push_back([] {
        EXPECT_EQ(Ask(Command::GetBoardSize), 7);
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
}

TEST_F(Program, TheCreditsComeBackWithTheirLinesWhereTheyWere) {
    WriteSettings({});
    Picture before;
    std::int32_t y = 0;
    Steps steps{
        [] { ClickMenuItem(MenuItem::Credits); },  // credits
        [] { headless::AdvanceTime(1230); },
    };
    AwayAndBack(steps, before);
    steps.push_back([&y] {
        y = g_creditsY;
        EXPECT_NE(y, 100);
        headless::AdvanceTime(50);
    });
    // Drawing them again moved nothing: the next step goes on from there.
    steps.push_back([&y] {
        EXPECT_EQ(std::abs(g_creditsY - y), 1);
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
}

// Clicks the first legal square of the player in the model and plays it there.
void ClickFirstLegal(oracle::Grid& grid, int player) {
    for (int c = 0; c < grid.size; ++c) {
        for (int r = 0; r < grid.size; ++r) {
            if (oracle::Legal(grid, c, r, player - 1)) {
                oracle::Play(grid, c, r, player - 1);
                ClickSquare(c, r);
                return;
            }
        }
    }
    ADD_FAILURE() << "player " << player << " has no legal square";
}

TEST_F(Program, AMatchComesBackWithItsBoardTextsAndClock) {
    WriteSettings({.colour1 = 4, .colour2 = 6, .boardSize = 6, .moveSeconds = 5, .humanPlayers = 2});
    oracle::Grid grid = oracle::Grid::Start(6);
    Picture before;
    Steps steps{
        [] { ClickMenuItem(MenuItem::Start); },
        [&grid] { ClickFirstLegal(grid, 1); },
        [&grid] { ClickFirstLegal(grid, 2); },
        [&grid] { ClickFirstLegal(grid, 1); },
        [] { headless::AdvanceTime(1500); },  // the clock line shows
    };
    AwayAndBack(steps, before);
    steps.push_back([&grid] {
        for (int c = 0; c < 6; ++c) {
            for (int r = 0; r < 6; ++r) {
                EXPECT_EQ(SquareShows(c, r, DiscColour(1, 4), DiscColour(2, 6)), oracle::PlayerAt(grid, c, r)) << c << "," << r;
            }
        }
        headless::CloseWindow();
    });
    EXPECT_EQ(Run(steps), 1);
}

TEST_F(Program, AFinishedMatchComesBackWithItsResult) {
    WriteSettings({.boardSize = 5, .moveSeconds = 2, .humanPlayers = 0});
    Picture before;
    Steps steps{
        [] { ClickMenuItem(MenuItem::Start); },
        [] { headless::AdvanceTime(120000); },
        [] {
            ASSERT_TRUE(g_matchOver);
            EXPECT_TRUE(ShowsText("ESC - wyj\x9C" "cie do menu", 0, 0xFFFFFF, 300, 260));
            headless::PostMouseMove(1, 1);
        },
    };
    AwayAndBack(steps, before);
    steps.push_back([] { headless::CloseWindow(); });
    EXPECT_EQ(Run(steps), 1);
}

// What a run ends with.
struct Played {
    Picture picture;
    int score0 = 0;
    int score1 = 0;
};

// Each case runs twice, the second time switched away from right after the
// start and back at the end; both runs must end alike.
TEST_F(Program, TimersRunWhileAwayAndTheScreenComesBackAsIfNeverLeft) {
    // Two humans with a 3-second clock: the clock passes the turn twice while away.
    // The computer against itself: a whole match played while away.
    struct Case {
        const char* name;
        SettingsValues settings;
        std::int64_t awayMs;
    };
    const Case cases[] = {
        {"two humans, clock", {.boardSize = 6, .moveSeconds = 3, .humanPlayers = 2}, 7500},
        {"computer only", {.colour1 = 8, .colour2 = 3, .boardSize = 6, .humanPlayers = 0}, 200000},
    };
    for (const Case& c : cases) {
        Played played[2];
        for (const bool away : {false, true}) {
            Restart();
            WriteSettings(c.settings);
            SetCalendarTime(1700000000);  // the computer's choices follow the calendar
            oracle::Grid grid = oracle::Grid::Start(6);
            Played& result = played[away ? 1 : 0];
            const int status = Run({
                [] { ClickMenuItem(MenuItem::Start); },
                [&] {
                    if (c.settings.humanPlayers == 2) ClickFirstLegal(grid, 1);
                    else headless::PostMouseMove(1, 1);
                },
                [&] {
                    if (away) headless::SwitchAway();
                    headless::AdvanceTime(c.awayMs);
                },
                [&] {
                    if (away) {
                        // Drawing failed meanwhile, yet nothing took the display back.
                        EXPECT_TRUE(platform::IsLost(g_primarySurface)) << c.name;
                        EXPECT_EQ(platform::GetSystemMetrics(platform::SM_CXSCREEN), 1024) << c.name;
                        headless::SwitchBack();
                    } else {
                        headless::PostMouseMove(1, 1);
                    }
                },
                [&] {
                    if (c.settings.humanPlayers == 0) EXPECT_TRUE(g_matchOver) << c.name;
                    else EXPECT_EQ(g_player1ToMove, 0) << c.name << ": player 2, then 1 ran out of time";
                    result.picture = TakePicture();
                    result.score0 = Ask(Command::GetScore, 0);
                    result.score1 = Ask(Command::GetScore, 1);
                    headless::CloseWindow();
                },
            });
            EXPECT_EQ(status, 1);
        }
        EXPECT_EQ(played[1].score0, played[0].score0) << c.name;
        EXPECT_EQ(played[1].score1, played[0].score1) << c.name;
        EXPECT_TRUE(Same(played[0].picture, played[1].picture)) << c.name;
    }
}

TEST_F(Program, TheForkComesBackOverTheWindowAndNothingIsDrawnBeforeTheSurfaces) {
    // Before start-up has made the surfaces, a paint request draws nothing.
    EXPECT_EQ(MainWindowProc(nullptr, platform::WM_PAINT, 0, 0), 0);
    WriteSettings({});
    const int status = Run({
        [] {
            platform::SetCursor(nullptr);  // another program took the pointer
            EXPECT_EQ(MainWindowProc(g_mainWindow, platform::WM_SETCURSOR, 0, 0), 1);
            EXPECT_EQ(headless::CurrentCursor(), platform::LoadCursor(platform::kForkCursor));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace wolby_test
