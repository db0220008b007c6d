// Matches played through the whole program: clicks, the computer's moves, the
// clock, passes and every way a match ends.
#include <random>

#include "match/game.h"
#include "tests/support/headless_controls.h"
#include "screens/match.h"
#include "screens/screen.h"
#include "screens/sheet.h"
#include "shell/win_main.h"
#include "tests/support/program_fixture.h"
#include "tests/support/calendar.h"
#include "tests/support/clicks.h"

namespace wolby_test {
namespace {

namespace headless = platform::headless;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
const char* const kDraw = "GRA ZAKO\xD1" "CZONA REMISEM";
const char* const kEscToMenu = "ESC - wyj\x9C" "cie do menu";

std::string Collected(int count) { return "Zebranych: " + std::to_string(count) + "   "; }
std::string TimeLeft(int seconds) { return "Pozosta\xB3o " + std::to_string(seconds) + " sek."; }

// Clicks (reported) that open a match from the menu.
void ClickStartMatch() { ClickMenuItem(MenuItem::Start); }

int DiscsOnBoard() { return g_game.board->side0.Count() + g_game.board->side1.Count(); }

// Puts a position on the match board: discs of player 1 and of player 2.
void SetBoard(const std::vector<std::pair<int, int>>& side0, const std::vector<std::pair<int, int>>& side1) {
    *g_game.board = Board();
    for (const auto& [x, y] : side0) g_game.board->side0.Add(Position(x, y));
    for (const auto& [x, y] : side1) g_game.board->side1.Add(Position(x, y));
}

// Whether the screen matches the model on every square.
void ExpectScreenShows(const oracle::Grid& grid, Colour c1, Colour c2, const std::string& when) {
    for (int x = 0; x < grid.size; ++x) {
        for (int y = 0; y < grid.size; ++y) {
            EXPECT_EQ(SquareShows(x, y, c1, c2), oracle::PlayerAt(grid, x, y)) << "square " << x << "," << y << " " << when;
        }
    }
}

TEST_F(Program, TwoHumansPlayAWholeMatchAsTheRulesSay) {
    for (const int size : {5, 6, 8}) {
        Restart();
        WriteSettings({.colour1 = 3, .colour2 = 7, .boardSize = size});
        const Colour c1 = DiscColour(1, 3);
        const Colour c2 = DiscColour(2, 7);
        const Colour t1 = PlayerColour(1, 3);  // texts are drawn in the exact colours
        const Colour t2 = PlayerColour(2, 7);
        oracle::Grid grid = oracle::Grid::Start(size);
        int player = 1;
        int passes[3] = {0, 0, 0};
        bool over = false;
        bool started = false;
        int moves = 0;
        int discsBeforeIllegalClick = -1;
        std::mt19937 random(static_cast<unsigned>(size));
        headless::SetIdleHandler([&] {
            if (!started) {
                started = true;
                ClickStartMatch();
                return;
            }
            const std::string when = "after move " + std::to_string(moves) + " on " + std::to_string(size);
            if (discsBeforeIllegalClick >= 0) {
                EXPECT_EQ(DiscsOnBoard(), discsBeforeIllegalClick) << "an illegal click played, " << when;
                discsBeforeIllegalClick = -1;
            }
            ExpectScreenShows(grid, c1, c2, when);
            EXPECT_TRUE(ShowsText(Collected(oracle::Count(grid, 0)).c_str(), t1, kBlack, 620, 240)) << when;
            EXPECT_TRUE(ShowsText(Collected(oracle::Count(grid, 1)).c_str(), t2, kBlack, 620, 390)) << when;
            EXPECT_TRUE(ShowsText("Gracz 1", t1, kBlack, 620, 200));
            EXPECT_TRUE(ShowsText("Gracz 2", t2, kBlack, 620, 340));
            if (over) {
                const int s1 = oracle::Count(grid, 0);
                const int s2 = oracle::Count(grid, 1);
                if (s1 == s2) {
                    EXPECT_TRUE(ShowsText(kDraw, kBlack, kWhite, 320, 200)) << when;
                } else {
                    EXPECT_TRUE(ShowsText("GRATULACJE!!!", kBlack, kWhite, 300, 200)) << when;
                    EXPECT_TRUE(ShowsText(s1 > s2 ? "WYGRANA GRACZA 1!" : "WYGRANA GRACZA 2!", kBlack, kWhite,
                                          300, 230))
                        << when;
                }
                EXPECT_TRUE(ShowsText(kEscToMenu, kBlack, kWhite, 300, 260));
                headless::CloseWindow();
                return;
            }
            EXPECT_TRUE(ShowsText(player == 1 ? "Ruch gracza 1" : "Ruch gracza 2", kWhite, player == 1 ? t1 : t2,
                                  620, 100))
                << when;
            std::vector<std::pair<int, int>> legal;
            for (int x = 0; x < size; ++x) {
                for (int y = 0; y < size; ++y) {
                    if (oracle::Legal(grid, x, y, player - 1)) legal.emplace_back(x, y);
                }
            }
            // Now and then an illegal click first: it must change nothing.
            if (moves % 7 == 3) {
                for (int x = 0; x < size; ++x) {
                    if (grid.cell[x][0] == oracle::kEmpty && !oracle::Legal(grid, x, 0, player - 1)) {
                        discsBeforeIllegalClick = DiscsOnBoard();  // checked once the click is handled
                        ClickSquare(x, 0);
                        ++moves;
                        return;
                    }
                }
            }
            ASSERT_FALSE(legal.empty()) << when;
            const auto [x, y] = legal[random() % legal.size()];
            oracle::Play(grid, x, y, player - 1);
            ++moves;
            ClickSquare(x, y);
            const int other = 3 - player;
            if (oracle::CanMove(grid, other - 1)) {
                passes[1] = passes[2] = 0;
                player = other;
            } else {
                ++passes[other];
            }
            const bool full = oracle::Count(grid, 0) + oracle::Count(grid, 1) == size * size;
            over = oracle::Count(grid, 0) == 0 || oracle::Count(grid, 1) == 0 || full || passes[other] > 2 ||
                   (!oracle::CanMove(grid, 0) && !oracle::CanMove(grid, 1));
        });
        EXPECT_EQ(WinMain(), 1);
        EXPECT_FALSE(headless::TakeStall());
        EXPECT_TRUE(g_matchOver);
    }
}

// The frame tiles of the match screen, 50 x 50 on a 50-pixel grid: the outer
// ring, and the column at 550 that closes the square field holding the board.
::testing::AssertionResult ShowsTheMatchFrame() {
    for (std::int32_t x = 0; x < 800; x += 50) {
        for (std::int32_t y = 0; y < 600; y += 50) {
            const bool frame = x == 0 || x == 550 || x == 750 || y == 0 || y == 550;
            if (frame && !ShowsPiece(sheet::GameFrameTile, x, y)) {
                return ::testing::AssertionFailure() << "no frame tile at " << x << "," << y;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(Program, AMatchOpensWithItsFrameSquaresAndOverlaidDiscsAndEachDiscGrowsForSixtyMs) {
    WriteSettings({.boardSize = 6});
    std::int64_t before = 0;
    const int status = Run({
        [] { ClickStartMatch(); },
        [&] {
            EXPECT_TRUE(ShowsTheMatchFrame());
            for (int x = 0; x < 6; ++x) {
                for (int y = 0; y < 6; ++y) {
                    const bool opening = (x == 2 || x == 3) && (y == 2 || y == 3);
                    EXPECT_TRUE(opening ? ShowsDiscOverlay(x, y)
                                        : ShowsPiece(sheet::SquareTile, kBoardLeft + kSquarePitch * x,
                                                     kBoardTop + kSquarePitch * y))
                        << x << "," << y;
                }
            }
            // Each disc grows in six steps, 10 ms apart.
            EXPECT_EQ(headless::Now(), 4 * 60) << "the four opening discs";
            before = headless::Now();
            ClickSquare(1, 3);  // turns (2, 3)
        },
        [&] {
            EXPECT_EQ(DiscsOnBoard(), 5);
            EXPECT_EQ(headless::Now() - before, 2 * 60) << "the new disc and the one it turned";
            EXPECT_TRUE(ShowsDiscOverlay(1, 3));
            EXPECT_TRUE(ShowsDiscOverlay(2, 3));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, APassKeepsTheTurnAndAWipedOutSideLosesAtOnce) {
    WriteSettings({.boardSize = 5});
    const Colour c1 = PlayerColour(1, 1);
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            SetBoard({{0, 0}, {4, 4}}, {{1, 0}, {3, 3}});
            ClickSquare(2, 0);
        },
        [&] {
            // Player 2 has no move left: player 1 goes on, and the pass is counted.
            EXPECT_EQ(g_game.board->side1.Count(), 1);
            EXPECT_EQ(g_passCount[1], 1);
            EXPECT_EQ(g_player1ToMove, 1);
            EXPECT_TRUE(ShowsText("Ruch gracza 1", kWhite, c1, 620, 100));
            EXPECT_FALSE(g_matchOver);
            ClickSquare(2, 2);
        },
        [&] {
            EXPECT_EQ(g_game.board->side1.Count(), 0);
            EXPECT_TRUE(g_matchOver);
            EXPECT_TRUE(ShowsText("GRATULACJE!!!", kBlack, kWhite, 300, 200));
            EXPECT_TRUE(ShowsText("WYGRANA GRACZA 1!", kBlack, kWhite, 300, 230));
            EXPECT_TRUE(ShowsText(kEscToMenu, kBlack, kWhite, 300, 260));
            // After the result, clicks play nothing and announce nothing again.
            g_game.board->side1.Add(Position(4, 1));
            g_game.board->side0.Add(Position(4, 2));
            ClickSquare(4, 0);  // a legal square
        },
        [&] {
            EXPECT_EQ(g_game.board->side0.Count(), 7);
            EXPECT_EQ(g_game.board->side1.Count(), 1);
            headless::PostKey(platform::VK_ESCAPE);
        },
        [] {
            EXPECT_EQ(g_screen, Screen::Menu);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, ThreePassesInARowEndTheMatchByTheScores) {
    WriteSettings({.boardSize = 8, .moveSeconds = 9});
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            // Player 2 keeps one disc in the corner, where it can never be turned
            // and from where it can never move.
            SetBoard({{1, 7}, {3, 7}, {5, 7}, {7, 7}}, {{0, 0}, {1, 6}, {3, 6}, {5, 6}, {7, 6}});
            ClickSquare(1, 5);
        },
        [] {
            EXPECT_EQ(g_passCount[1], 1);
            ClickSquare(3, 5);
        },
        [] {
            EXPECT_EQ(g_passCount[1], 2);
            EXPECT_FALSE(g_matchOver);
            ClickSquare(5, 5);
        },
        [] {
            EXPECT_EQ(g_passCount[1], 3);
            EXPECT_TRUE(g_matchOver);
            EXPECT_TRUE(ShowsText("WYGRANA GRACZA 1!", kBlack, kWhite, 300, 230));
            EXPECT_FALSE(headless::TimerRunning(kMoveClockTimer)) << "the clock stops with the match";
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, WhenNeitherSideCanMoveTheMatchEndsAtOnce) {
    WriteSettings({.boardSize = 8});
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            SetBoard({{1, 7}}, {{0, 0}, {1, 6}, {7, 0}});
            ClickSquare(1, 5);
        },
        [] {
            EXPECT_EQ(g_passCount[1], 1);
            EXPECT_TRUE(g_matchOver);
            EXPECT_TRUE(ShowsText("GRATULACJE!!!", kBlack, kWhite, 300, 200));
            EXPECT_TRUE(ShowsText("WYGRANA GRACZA 1!", kBlack, kWhite, 300, 230));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, AFullBoardWithEqualScoresIsADrawWithoutCongratulations) {
    WriteSettings({.boardSize = 6});
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            // (0, 0) is the last empty square; playing it turns (1, 0) only: 18 to 18.
            std::vector<std::pair<int, int>> side0{{2, 0}, {0, 1}, {1, 1}};
            std::vector<std::pair<int, int>> side1{{1, 0}};
            for (int x = 0; x < 6; ++x) {
                for (int y = 0; y < 6; ++y) {
                    if ((x <= 2 && y == 0) || (x <= 1 && y == 1)) continue;
                    (side0.size() < 16 ? side0 : side1).emplace_back(x, y);
                }
            }
            ASSERT_EQ(side1.size(), 19u);
            SetBoard(side0, side1);
            ClickSquare(0, 0);
        },
        [] {
            EXPECT_TRUE(g_matchOver);
            EXPECT_TRUE(ShowsText(kDraw, kBlack, kWhite, 320, 200));
            EXPECT_TRUE(ShowsText(kEscToMenu, kBlack, kWhite, 300, 260));
            EXPECT_FALSE(ShowsText("GRATULACJE!!!", kBlack, kWhite, 300, 200));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, TheComputerAnswersHalfASecondAfterTheHumansMove) {
    WriteSettings({.boardSize = 6, .humanPlayers = 1});
    wolby_test::SetCalendarTime(1700000000);
    int before = 0;
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
            ClickSquare(1, 3);  // legal for player 1 on 6 x 6
        },
        [&] {
            before = DiscsOnBoard();
            EXPECT_EQ(before, 5);
            EXPECT_EQ(g_player1ToMove, 0);
            EXPECT_TRUE(headless::TimerRunning(kComputerMoveTimer));
            // The computer is to move: a click on a legal-looking square does nothing.
            ClickSquare(2, 4);
        },
        [&] {
            EXPECT_EQ(DiscsOnBoard(), before);
            headless::AdvanceTime(499 - 6 * 10 * 2);  // the animation's pauses count as time too
        },
        [&] {
            EXPECT_EQ(DiscsOnBoard(), before);
            headless::AdvanceTime(500);
        },
        [&] {
            EXPECT_EQ(DiscsOnBoard(), before + 1);
            EXPECT_EQ(g_player1ToMove, 1);
            EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, TheComputerPlaysAgainstItselfToTheEnd) {
    for (const int size : {5, 8}) {
        Restart();
        WriteSettings({.boardSize = size, .moveSeconds = 5, .humanPlayers = 0});
        wolby_test::SetCalendarTime(1700000000 + size);
        bool started = false;
        headless::SetIdleHandler([&] {
            if (!started) {
                started = true;
                ClickStartMatch();
                return;
            }
            // No clock runs without a person; once a move has handed over the
            // turn, the clock text shows the full time in the mover's colour.
            EXPECT_FALSE(headless::TimerRunning(kMoveClockTimer));
            const int mover = g_player1ToMove ? 1 : 2;
            if (DiscsOnBoard() > 4) {
                EXPECT_TRUE(ShowsText(TimeLeft(5).c_str(), kWhite, PlayerColour(mover, mover), 620, 120))
                    << DiscsOnBoard() << " discs on " << size;
            }
            if (g_matchOver) {
                EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
                EXPECT_FALSE(ShowsText("GRATULACJE!!!", kBlack, kWhite, 300, 200));
                const int s0 = g_game.board->side0.Count();
                const int s1 = g_game.board->side1.Count();
                if (s0 == s1) {
                    EXPECT_TRUE(ShowsText(kDraw, kBlack, kWhite, 320, 200));
                } else {
                    EXPECT_TRUE(ShowsText(s0 > s1 ? "WYGRANA GRACZA 1!" : "WYGRANA GRACZA 2!", kBlack, kWhite,
                                          300, 230));
                }
                headless::CloseWindow();
                return;
            }
            headless::AdvanceTime(500);
            wolby_test::SetCalendarTime(1700000000 + headless::Now() / 1000);
        });
        EXPECT_EQ(WinMain(), 1);
        EXPECT_FALSE(headless::TakeStall());
        EXPECT_TRUE(g_matchOver);
    }
}

TEST_F(Program, TheClockPassesTheTurnOnTheTickThatShowsZero) {
    WriteSettings({.boardSize = 6, .moveSeconds = 3, .humanPlayers = 2});
    const Colour c1 = PlayerColour(1, 1);
    const Colour c2 = PlayerColour(2, 2);
    const int status = Run({
        [] { ClickStartMatch(); },
        [] {
            EXPECT_EQ(g_moveClockMs, 3000);
            EXPECT_TRUE(headless::TimerRunning(kMoveClockTimer));
            headless::AdvanceTime(3000);
        },
        [&] {
            // Three ticks showed 3, 2 and 1; the turn is still player 1's.
            EXPECT_TRUE(ShowsText(TimeLeft(1).c_str(), kWhite, c1, 620, 120));
            EXPECT_EQ(g_player1ToMove, 1);
            headless::AdvanceTime(1000);
        },
        [&] {
            EXPECT_EQ(g_player1ToMove, 0);
            EXPECT_TRUE(ShowsText(TimeLeft(0).c_str(), kWhite, c2, 620, 120));
            EXPECT_TRUE(ShowsText("Ruch gracza 2", kWhite, c2, 620, 100));
            EXPECT_EQ(g_moveClockMs, 3000);
            EXPECT_EQ(g_passCount[0] + g_passCount[1], 0);
            // Player 2 moves: the turn passes and player 1's clock shows 3 at once.
            ClickSquare(1, 2);
        },
        [&] {
            EXPECT_EQ(g_player1ToMove, 1);
            EXPECT_TRUE(ShowsText(TimeLeft(3).c_str(), kWhite, c1, 620, 120));
            EXPECT_EQ(g_moveClockMs, 2000);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, WithOneSecondTheSecondTickPassesTheTurn) {
    WriteSettings({.boardSize = 6, .moveSeconds = 1, .humanPlayers = 2});
    const int status = Run({
        [] { ClickStartMatch(); },
        [] { headless::AdvanceTime(1000); },
        [] {
            EXPECT_EQ(g_player1ToMove, 1);
            headless::AdvanceTime(1000);
        },
        [] {
            EXPECT_EQ(g_player1ToMove, 0);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, TheClockNeverPlaysAMoveForThePerson) {
    WriteSettings({.boardSize = 6, .moveSeconds = 3, .humanPlayers = 1});
    wolby_test::SetCalendarTime(1700000000);
    const int status = Run({
        [] { ClickStartMatch(); },
        [] { headless::AdvanceTime(2000); },
        [] {
            // The person's clock holds one second: no computer move is started.
            EXPECT_EQ(g_moveClockMs, 1000);
            EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
            headless::AdvanceTime(2000);
        },
        [] {
            EXPECT_EQ(DiscsOnBoard(), 4);
            // The person's time is up at the fourth tick; the computer has the
            // turn and its move starts when its own clock holds one second.
            EXPECT_EQ(g_player1ToMove, 0);
            headless::AdvanceTime(2000);
        },
        [] {
            EXPECT_EQ(g_moveClockMs, 1000);
            EXPECT_TRUE(headless::TimerRunning(kComputerMoveTimer));
            headless::AdvanceTime(500);
        },
        [] {
            EXPECT_EQ(DiscsOnBoard(), 5);
            EXPECT_EQ(g_player1ToMove, 1);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, AClickOffTheBoardDoesNothing) {
    WriteSettings({.boardSize = 6});
    const int status = Run({
        [] { ClickStartMatch(); },
        [] { headless::PostLeftClick(99 - 15, 300); },
        [] {
            EXPECT_EQ(DiscsOnBoard(), 4);
            headless::PostLeftClick(100 + 51 * 6 - 15, 250);  // column 6 of a 6 x 6 board
        },
        [] {
            EXPECT_EQ(DiscsOnBoard(), 4);
            EXPECT_EQ(g_player1ToMove, 1);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

TEST_F(Program, APendingComputerMoveIsDroppedWhenTheClockGaveTheTurnBack) {
    WriteSettings({.boardSize = 6, .moveSeconds = 1, .humanPlayers = 1});
    wolby_test::SetCalendarTime(1700000000);
    const int status = Run({
        [] { ClickStartMatch(); },
        [] { headless::AdvanceTime(1700); },
        [] {
            ClickSquare(1, 3);
        },
        [] {
            // The computer's move is due at 2200 ms, but its one second runs out at
            // 2000 ms. (0, 0) is made legal for the person, who must not get it played.
            EXPECT_EQ(g_player1ToMove, 0);
            g_game.board->side1.Add(Position(1, 1));
            headless::AdvanceTime(300);
        },
        [] {
            EXPECT_EQ(g_player1ToMove, 1);
            headless::AdvanceTime(300);
        },
        [] {
            EXPECT_FALSE(headless::TimerRunning(kComputerMoveTimer));
            EXPECT_EQ(g_game.board->side0.Find(Position(0, 0)), PieceList::NotFound);
            EXPECT_EQ(DiscsOnBoard(), 6);
            headless::CloseWindow();
        },
    });
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace wolby_test
