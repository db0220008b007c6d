// The options screen driven by clicks: every row's arrows against both ends,
// the exact hit boxes, the back button's file and the values in the next match.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "match/game.h"
#include "players/computer_player.h"
#include "screens/match.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "tests/support/program_fixture.h"
#include "tests/support/clicks.h"

namespace wolby_test {
namespace {

namespace headless = platform::headless;

constexpr Colour kText = 0xC8C864;
constexpr Colour kBlack = 0;

// Reported click x on an arrow of a row (the game adds 15).
constexpr std::int32_t kLeftArrow = 390;
constexpr std::int32_t kRightArrow = 490;

void OpenOptions() { ClickMenuItem(MenuItem::Options); }

bool SwatchShows(int player, Colour colour) {
    const std::int32_t y = player == 0 ? 300 : 350;
    for (std::int32_t py = y + 1; py < y + 19; ++py) {
        for (std::int32_t px = 441; px < 479; ++px) {
            if (headless::PixelAt(px, py) != colour) return false;
        }
    }
    return headless::PixelAt(440, y) == 0 && headless::PixelAt(479, y + 19) == 0;  // the black pen
}

TEST_F(Program, TheOptionsShowTheDefaultsWithTheirLabelsAndPictures) {
    headless::ScriptMessageBoxAnswer(platform::IDYES);
    const int status = Run({
        [] { OpenOptions(); },
        [] {
            EXPECT_EQ(g_screen, Screen::Options);
            EXPECT_TRUE(ShowsText("Wielko\x9C\xE6 planszy", kText, kBlack, 100, 150));
            EXPECT_TRUE(ShowsText("Ilo\x9C\xE6 graczy", kText, kBlack, 100, 200));
            EXPECT_TRUE(ShowsText("Czas na ruch (0 - czas wy\xB3\xB9" "czony)[sek]", kText, kBlack, 100, 250));
            EXPECT_TRUE(ShowsText("Kolor pionk\xF3w gracza 1", kText, kBlack, 100, 300));
            EXPECT_TRUE(ShowsText("Kolor pionk\xF3w gracza 2", kText, kBlack, 100, 350));
            EXPECT_TRUE(ShowsText(" 6x6", kText, kBlack, 440, 150));
            EXPECT_TRUE(ShowsText("   2", kText, kBlack, 440, 200));
            EXPECT_TRUE(ShowsText("   0", kText, kBlack, 440, 250));
            EXPECT_TRUE(SwatchShows(0, DiscColour(1, 1)));
            EXPECT_TRUE(SwatchShows(1, DiscColour(2, 2)));
            for (const std::int32_t y : {150, 200, 250, 300, 350}) {
                EXPECT_TRUE(ShowsPiece(sheet::ArrowLeft, 400, y));
                EXPECT_TRUE(ShowsPiece(sheet::ArrowRight, 500, y));
            }
            EXPECT_TRUE(ShowsPiece(sheet::BackButton, 350, 450));
            for (const std::int32_t x : {0, 750}) EXPECT_TRUE(ShowsPiece(sheet::OptionsFrameTile, x, 300));
            for (const std::int32_t y : {0, 550}) EXPECT_TRUE(ShowsPiece(sheet::OptionsFrameTile, 400, y));
            PointAtMenuItem(MenuItem::Start);  // no marker on this screen
        },
        [] {
            EXPECT_TRUE(ShowsText("Ilo\x9C\xE6 graczy", kText, kBlack, 100, 200));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, EveryArrowStepsByOneAndStopsAtItsEnd) {
    WriteSettings({});
    struct Row {
        std::int32_t y;
        Command read;
        int arg;
        int lowest;
        int highest;
    };
    const Row rows[] = {
        {150, Command::GetBoardSize, 0, 5, 8},    {200, Command::GetHumanPlayers, 0, 0, 2},
        {250, Command::GetMoveSeconds, 0, 0, 9},  {300, Command::GetDiscColour, 0, 1, 9},
        {350, Command::GetDiscColour, 1, 1, 9},
    };
    std::vector<std::function<void()>> steps{[] { OpenOptions(); }};
    for (const Row& row : rows) {
        auto value = [row] { return g_game.Execute(PackCommand(row.read, row.arg, 0, 0, 0, 0)); };
        // What a person sees for the value after a change.
        auto shows = [row](int v) -> ::testing::AssertionResult {
            if (row.y == 150) {
                // Formatted rather than concatenated: GCC 12 warns falsely
                // (-Wrestrict) inside std::string's operator+ at -O2.
                char text[16];
                std::snprintf(text, sizeof text, " %dx%d", v, v);
                return ShowsText(text, kText, kBlack, 440, 150);
            }
            if (row.y <= 250) return ShowsText(("   " + std::to_string(v) + " ").c_str(), kText, kBlack, 440, row.y);
            return ::testing::AssertionResult(row.y == 300 ? SwatchShows(0, DiscColour(1, v))
                                                           : SwatchShows(1, DiscColour(2, v)));
        };
        // Ten clicks on the left arrow, then ten on the right, each checked:
        // one step at a time, and nothing past either end.
        auto expected = std::make_shared<int>(0);
        for (int click = 0; click <= 20; ++click) {
            steps.push_back([=] {
                if (click == 0) {
                    *expected = value();
                } else {
                    EXPECT_EQ(value(), *expected) << "row " << row.y << " after click " << click;
                    EXPECT_TRUE(shows(*expected)) << "row " << row.y << " after click " << click;
                }
                if (click == 20) {
                    EXPECT_EQ(*expected, row.highest);
                    headless::PostMouseMove(0, 0);
                    return;
                }
                const int delta = click < 10 ? -1 : +1;
                *expected = std::clamp(*expected + delta, row.lowest, row.highest);
                // Anywhere in the row's 50-pixel band, not only on the arrow's picture.
                headless::PostLeftClick(delta < 0 ? kLeftArrow : kRightArrow, row.y + 1 + 2 * click);
            });
        }
    }
    steps.push_back([] { headless::CloseWindow(); });
    EXPECT_EQ(Run(steps), 1);
}

TEST_F(Program, TheHitBoxesAreStrict) {
    WriteSettings({});
    const int status = Run({
        [] { OpenOptions(); },
        [] { headless::PostLeftClick(385, 160); },  // lands at 400: on the edge, nothing
        [] {
            EXPECT_EQ(g_game.Execute(0), 6);
            headless::PostLeftClick(386, 160);
        },
        [] {
            EXPECT_EQ(g_game.Execute(0), 5);
            headless::PostLeftClick(490, 200);  // the boundary between the first two rows
        },
        [] {
            EXPECT_EQ(g_game.Execute(0), 5);
            EXPECT_EQ(g_game.Execute(PackCommand(Command::GetHumanPlayers, 0, 0, 0, 0, 0)), 2);
            headless::PostLeftClick(500, 195);  // the right arrow, below its picture: still the row
        },
        [] {
            EXPECT_EQ(g_game.Execute(0), 6);
            headless::PostLeftClick(395, 240);
        },
        [] {
            EXPECT_EQ(g_game.Execute(PackCommand(Command::GetHumanPlayers, 0, 0, 0, 0, 0)), 1);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, TheBackButtonSavesAndTheNextMatchUsesTheValues) {
    WriteSettings({});
    const int status = Run({
        [] { OpenOptions(); },
        [] {
            ClickOptionsArrow(options_layout::BoardSize, +1);  // size 7
            ClickOptionsArrow(options_layout::HumanPlayers, -1);   // 1 human
            ClickOptionsArrow(options_layout::MoveSeconds, +1);  // 1 second
            ClickOptionsArrow(options_layout::Colour1, +1);  // colour 2 for player 1
            ClickOptionsArrow(options_layout::Colour2, +1);  // colour 3 for player 2
        },
        [this] {
            EXPECT_EQ(ReadSettingsFile(), DefaultSettingsFile());
            ClickOptionsBack();  // back
        },
        [this] {
            EXPECT_EQ(g_screen, Screen::Menu);
            EXPECT_TRUE(ShowsPiece(sheet::MenuPicture, 240, 50));
            EXPECT_EQ(ReadSettingsFile(), SettingsFile({2, 3, 7, 1, 1}));
            ClickMenuItem(MenuItem::Start);
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Match);
            EXPECT_TRUE(ShowsPiece(sheet::SquareTile, 100 + 51 * 6, 100 + 51 * 6));
            EXPECT_FALSE(ShowsPiece(sheet::SquareTile, 100 + 51 * 7, 100));
            EXPECT_EQ(SquareShows(2, 2, DiscColour(1, 2), DiscColour(2, 3)), 1);
            EXPECT_EQ(SquareShows(3, 2, DiscColour(1, 2), DiscColour(2, 3)), 2);
            EXPECT_TRUE(headless::TimerRunning(kMoveClockTimer));
            EXPECT_EQ(g_moveClockMs, 1000);
            EXPECT_EQ(g_humanPlayers, 1);
            EXPECT_NE(dynamic_cast<ComputerPlayer*>(g_game.player2.get()), nullptr);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, EscKeepsChangesInMemoryAndTheExitItemWritesThem) {
    WriteSettings({});
    const int status = Run({
        [] { OpenOptions(); },
        [] { ClickOptionsArrow(options_layout::MoveSeconds, +1); },
        [] { headless::PostKey(platform::VK_ESCAPE); },
        [this] {
            EXPECT_EQ(ReadSettingsFile()[7], 0);
            ClickMenuItem(MenuItem::Exit);  // exit
        },
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadSettingsFile(), SettingsFile({1, 2, 6, 1, 2}));
}

}  // namespace
}  // namespace wolby_test
