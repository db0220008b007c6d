// Random whole games on every board size, played through the real board the way
// the game screen plays them, checked move by move against the grid oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "board/board.h"
#include "tests/support/grid_oracle.h"
#include "tests/support/board_lists.h"

namespace {

// Every square in at most one list, at most once, and only on the board.
void ExpectWellFormed(const Board& b, int size) {
    SquareList all = Entries(b.side0);
    const SquareList s1 = Entries(b.side1);
    all.insert(all.end(), s1.begin(), s1.end());
    for (auto [x, y] : all) {
        EXPECT_TRUE(x >= 0 && y >= 0 && x < size && y < size) << "(" << x << "," << y << ")";
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end()) << "a square stands twice";
}

struct Totals {
    int games = 0;
    int moves = 0;
    int passes = 0;
    int turned = 0;
};

Totals PlayRandomGames(std::int8_t size, int games, std::mt19937& rng) {
    Totals totals;
    for (int game = 0; game < games; ++game) {
        Board board(size);
        oracle::Grid grid = oracle::FromBoard(board, size);
        int side = 0;
        for (int ply = 0;; ++ply) {
            // Sides alternate, so checking the side to move (and the other when it
            // must pass) compares both sides' legal squares throughout the game.
            const oracle::Squares legal = oracle::LegalSquares(grid, side);
            EXPECT_EQ(TryPlaceLegal(board, size, side), legal) << "side " << side << " ply " << ply;
            if (testing::Test::HasFailure()) return totals;
            if (legal.empty()) {
                const oracle::Squares otherLegal = oracle::LegalSquares(grid, 1 - side);
                EXPECT_EQ(TryPlaceLegal(board, size, 1 - side), otherLegal) << "side " << 1 - side << " ply " << ply;
                if (otherLegal.empty()) break;
                ++totals.passes;
                side = 1 - side;
                continue;
            }
            const auto [mx, my] = legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(rng)];
            const Position played(mx, my);
            const int totalBefore = board.CountDiscs(0) + board.CountDiscs(1);

            EXPECT_TRUE(board.TryPlace(played, side));
            // All answers first, as the screen does, then the turns.
            SquareList enclosed;
            for (int x = 0; x < size; ++x) {
                for (int y = 0; y < size; ++y) {
                    if (board.IsEnclosed(played, Position(x, y), size)) enclosed.emplace_back(x, y);
                }
            }
            for (auto [x, y] : enclosed) board.TurnDisc(Position(x, y), side);

            oracle::Squares expected = oracle::Turned(grid, mx, my, side);
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(enclosed, expected) << "side " << side << " played (" << mx << "," << my << ") ply " << ply;
            oracle::Play(grid, mx, my, side);

            EXPECT_EQ(board.CountDiscs(0) + board.CountDiscs(1), totalBefore + 1);
            ExpectWellFormed(board, size);
            EXPECT_EQ(oracle::FromBoard(board, size), grid);
            if (testing::Test::HasFailure()) return totals;
            ++totals.moves;
            totals.turned += static_cast<int>(enclosed.size());
            side = 1 - side;
        }
        ++totals.games;
    }
    return totals;
}

#ifdef WOLBY_RANDOM_GAMES
constexpr int kGames = WOLBY_RANDOM_GAMES;  // per board size
#else
constexpr int kGames = 500;
#endif

class RandomGames : public testing::TestWithParam<int> {};

TEST_P(RandomGames, AgreeWithTheOracleMoveByMove) {
    const auto size = static_cast<std::int8_t>(GetParam());
    std::mt19937 rng(20240601u + static_cast<unsigned>(size));
    const Totals t = PlayRandomGames(size, kGames, rng);
    ASSERT_FALSE(HasFailure());
    // The games must have reached real play, passes included, or they proved little.
    EXPECT_EQ(t.games, kGames);
    EXPECT_GT(t.moves, kGames * (size * size - 4) / 2);
    EXPECT_GT(t.passes, 0);
    RecordProperty("moves", t.moves);
    RecordProperty("passes", t.passes);
}

INSTANTIATE_TEST_SUITE_P(EverySize, RandomGames, testing::Values(5, 6, 7, 8),
                         [](const testing::TestParamInfo<int>& p) { return "Size" + std::to_string(p.param); });

}  // namespace
