// The computer player's choice: which square, how it is drawn, and when it is remembered.
#include "players/computer_player.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "board/board.h"
#include "players/calendar_time.h"
#include "players/lcg.h"
#include "tests/support/grid_oracle.h"
#include "tests/support/board_lists.h"

namespace {

std::int64_t g_now = 0;
std::int64_t FakeNow() { return g_now; }

// The generator written out from its formula, in 64-bit arithmetic reduced by hand.
std::vector<int> ExpectedDraws(std::uint32_t seed, int n) {
    std::vector<int> draws;
    std::uint64_t state = seed;
    for (int i = 0; i < n; ++i) {
        state = (state * 214013u + 2531011u) % 4294967296u;
        draws.push_back(static_cast<int>((state >> 16) & 0x7FFFu));
    }
    return draws;
}

// The square the player should choose at calendar second `now`: the candidate
// at draw % count, the candidates legal squares in column-by-column order.
std::pair<int, int> ExpectedChoice(const Board& b, int size, int side, std::int64_t now) {
    if (size <= 0) return {0, 0};
    const oracle::Squares legal = oracle::LegalSquares(oracle::FromBoard(b, size), side == 0 ? 0 : 1);
    if (legal.empty()) return {0, 0};
    const int draw = ExpectedDraws(static_cast<std::uint32_t>(now), 1)[0];
    return legal[static_cast<std::size_t>(draw) % legal.size()];
}

std::pair<int, int> AsPair(Position p) { return {p.x, p.y}; }

// The board of a grid: each side's squares column by column.
Board BoardOf(const oracle::Grid& g) {
    Board b;
    for (int x = 0; x < g.size; ++x) {
        for (int y = 0; y < g.size; ++y) {
            if (g.cell[x][y] == 0) b.side0.Add(Position(x, y));
            if (g.cell[x][y] == 1) b.side1.Add(Position(x, y));
        }
    }
    return b;
}

// An 8 x 8 position some random moves into a game, side 0 to move.
Board MidGame(int plies, unsigned seed) {
    oracle::Grid g = oracle::FromBoard(Board(8), 8);
    std::mt19937 rng(seed);
    int side = 0;
    for (int i = 0; i < plies; ++i) {
        const oracle::Squares legal = oracle::LegalSquares(g, side);
        if (!legal.empty()) {
            auto [x, y] = legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(rng)];
            oracle::Play(g, x, y, side);
        }
        side = 1 - side;
    }
    return BoardOf(g);
}

class ComputerPlayerTest : public testing::Test {
protected:
    void SetUp() override {
        g_now = 1700000000;
        SetCalendarTimeSource(FakeNow);
    }
    void TearDown() override { SetCalendarTimeSource(nullptr); }
};

TEST(Lcg, FirstDrawsFollowTheFormula) {
    Lcg lcg;
    lcg.Seed(0);
    EXPECT_EQ(lcg.Draw(), 38);
    EXPECT_EQ(lcg.Draw(), 7719);
    EXPECT_EQ(lcg.Draw(), 21238);
    lcg.Seed(1);
    EXPECT_EQ(lcg.Draw(), 41);
    EXPECT_EQ(lcg.Draw(), 18467);
    EXPECT_EQ(lcg.Draw(), 6334);
    for (std::uint32_t seed : {0u, 1u, 12345u, 1700000000u, 0x80000000u, 0xFFFFFFFFu}) {
        lcg.Seed(seed);
        std::vector<int> draws;
        for (int i = 0; i < 1000; ++i) draws.push_back(lcg.Draw());
        EXPECT_EQ(draws, ExpectedDraws(seed, 1000)) << "seed " << seed;
    }
}

TEST_F(ComputerPlayerTest, ChoosesTheCandidateAtDrawModCount) {
    std::vector<std::pair<Board, int>> positions;  // board and size
    for (std::int8_t size = 5; size <= 8; ++size) positions.emplace_back(Board(size), size);
    for (unsigned seed = 1; seed <= 4; ++seed) positions.emplace_back(MidGame(14 + 4 * static_cast<int>(seed), seed), 8);

    ComputerPlayer player;
    const std::int64_t seconds[] = {0, 1, 2, 1700000000, 2147483647, 4294967295, 4294967296 + 7};
    std::vector<std::int64_t> times(std::begin(seconds), std::end(seconds));
    for (std::int64_t t = 1700000100; t < 1700000400; ++t) times.push_back(t);
    for (std::int64_t now : times) {
        g_now = now;
        // Consecutive questions always differ, so each one is a fresh choice.
        for (const auto& [board, size] : positions) {
            for (int side : {0, 1}) {
                const Board before = board;
                const Position chosen = player.ChooseMove(&board, size, side);
                ASSERT_EQ(AsPair(chosen), ExpectedChoice(board, size, side, now))
                    << "size " << size << " side " << side << " second " << now;
                ASSERT_EQ(board, before);
            }
        }
    }
}

TEST_F(ComputerPlayerTest, OneLegalSquareIsChosenEverySecond) {
    // Side 0 on (0, 0), side 1 on (1, 0): side 0 can play (2, 0) only.
    const Board b = MakeBoard({{0, 0}}, {{1, 0}});
    ASSERT_EQ(oracle::LegalSquares(oracle::FromBoard(b, 5), 0), (oracle::Squares{{2, 0}}));
    for (int i = 0; i < 300; ++i, ++g_now) {
        ComputerPlayer player;
        EXPECT_EQ(AsPair(player.ChooseMove(&b, 5, 0)), std::make_pair(2, 0)) << "second " << g_now;
    }
}

TEST_F(ComputerPlayerTest, NoLegalSquareOrNoBoardGivesTheCorner) {
    Board full;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) ((x * 3 + y) % 5 < 2 ? full.side0 : full.side1).Add(Position(x, y));
    }
    const Board onlySide0 = MakeBoard({{3, 3}, {4, 4}, {3, 4}}, {});
    const Board cornerTakenNoMove = MakeBoard({{0, 0}}, {{1, 0}});  // side 1 has nothing to enclose
    const Board start(8);
    for (int i = 0; i < 50; ++i, ++g_now) {
        ComputerPlayer player;
        for (int side : {0, 1}) {
            EXPECT_EQ(AsPair(player.ChooseMove(&full, 8, side)), std::make_pair(0, 0));
            EXPECT_EQ(AsPair(player.ChooseMove(&onlySide0, 8, side)), std::make_pair(0, 0));
            EXPECT_EQ(AsPair(player.ChooseMove(&start, 0, side)), std::make_pair(0, 0));
            EXPECT_EQ(AsPair(player.ChooseMove(&start, -3, side)), std::make_pair(0, 0));
        }
        EXPECT_EQ(AsPair(player.ChooseMove(&cornerTakenNoMove, 5, 1)), std::make_pair(0, 0));
    }
}

TEST_F(ComputerPlayerTest, SameSecondGivesTheSameSquare) {
    const Board a = MidGame(20, 7);
    const Board b = MidGame(21, 8);
    for (int i = 0; i < 100; ++i, ++g_now) {
        ComputerPlayer one, two;
        const Position first = one.ChooseMove(&a, 8, 0);
        // Another question in between must not leave the generator running on:
        // every choice starts again from the second.
        one.ChooseMove(&b, 8, 1);
        EXPECT_TRUE(one.ChooseMove(&a, 8, 0).Equals(first));
        EXPECT_TRUE(two.ChooseMove(&a, 8, 0).Equals(first));
        EXPECT_TRUE(one.ChooseMove(&a, 8, 0).Equals(first));
    }
}

TEST_F(ComputerPlayerTest, LeavesTheGivenBoardAsItWas) {
    for (const Board& original : {Board(8), MidGame(25, 3), Board(5)}) {
        Board b = original;
        ComputerPlayer player;
        for (int side : {0, 1}) {
            for (int i = 0; i < 5; ++i, ++g_now) player.ChooseMove(&b, 8, side);
        }
        EXPECT_EQ(b, original);
    }
}

TEST_F(ComputerPlayerTest, RemembersItsAnswerAcrossASecondBoundary) {
    const Board b = MidGame(16, 11);
    const Board other = MidGame(17, 12);
    // A second after which a fresh choice on b would name another square.
    while (ExpectedChoice(b, 8, 0, g_now) == ExpectedChoice(b, 8, 0, g_now + 1)) ++g_now;
    const std::int64_t first = g_now;

    ComputerPlayer player;
    const auto column = AsPair(player.ChooseMove(&b, 8, 0));
    ASSERT_EQ(column, ExpectedChoice(b, 8, 0, first));
    g_now = first + 1;
    const Board copy = b;  // an identical board, not the same object
    EXPECT_EQ(AsPair(player.ChooseMove(&copy, 8, 0)), column);
    g_now = first + 5;
    EXPECT_EQ(AsPair(player.ChooseMove(&b, 8, 0)), column);

    // Anything different asks anew at the current second.
    EXPECT_EQ(AsPair(player.ChooseMove(&other, 8, 0)), ExpectedChoice(other, 8, 0, g_now));
    g_now = first + 1;
    EXPECT_EQ(AsPair(player.ChooseMove(&b, 8, 0)), ExpectedChoice(b, 8, 0, g_now));
    ++g_now;
    EXPECT_EQ(AsPair(player.ChooseMove(&b, 8, 1)), ExpectedChoice(b, 8, 1, g_now));
    ++g_now;
    EXPECT_EQ(AsPair(player.ChooseMove(&b, 7, 1)), ExpectedChoice(b, 7, 1, g_now));

    // One more disc in either list makes another board: a fresh choice, at a
    // second where that choice differs from the remembered square.
    for (int side : {0, 1}) {
        SCOPED_TRACE(side);
        Board grown = b;
        ASSERT_EQ(oracle::FromBoard(b, 8).cell[0][7], oracle::kEmpty);
        (side == 0 ? grown.side0 : grown.side1).Add(Position(0, 7));
        ComputerPlayer player2;
        g_now = first;
        const auto remembered = AsPair(player2.ChooseMove(&b, 8, 0));
        for (int i = 0; i < 100 && ExpectedChoice(grown, 8, 0, g_now) == remembered; ++i) ++g_now;
        ASSERT_NE(ExpectedChoice(grown, 8, 0, g_now), remembered);
        EXPECT_EQ(AsPair(player2.ChooseMove(&grown, 8, 0)), ExpectedChoice(grown, 8, 0, g_now));
    }
}

TEST_F(ComputerPlayerTest, EveryLegalSquareGetsChosenOverTime) {
    const Board b = MidGame(18, 5);
    const oracle::Squares legal = oracle::LegalSquares(oracle::FromBoard(b, 8), 0);
    ASSERT_GE(legal.size(), 5u);
    const Board start(8);
    ComputerPlayer player;
    std::map<std::pair<int, int>, int> chosen;
    const int rounds = 3000;
    for (int i = 0; i < rounds; ++i, ++g_now) {
        ++chosen[AsPair(player.ChooseMove(&b, 8, 0))];
        player.ChooseMove(&start, 8, 0);  // so the next question about b is not the last one
    }
    ASSERT_EQ(chosen.size(), legal.size());
    for (const auto& square : legal) {
        EXPECT_GT(chosen[square], rounds / static_cast<int>(legal.size()) / 2)
            << "(" << square.first << "," << square.second << ") starved";
    }
}

}  // namespace
