// The base player and the human player.
#include <gtest/gtest.h>

#include "board/board.h"
#include "players/computer_player.h"
#include "players/human_player.h"
#include "players/player.h"
#include "tests/support/board_lists.h"

namespace {

Board FullBoard() {
    Board b;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) ((x + y) % 2 == 0 ? b.side0 : b.side1).Add(Position(x, y));
    }
    return b;
}

TEST(Player, BaseRefusesEveryMoveAndChoosesTheCorner) {
    Player player;
    for (std::int8_t size = 5; size <= 8; ++size) {
        const Board start(size);
        for (int side = 0; side <= 1; ++side) {
            for (int x = 0; x < size; ++x) {
                for (int y = 0; y < size; ++y) {
                    Board b = start;
                    EXPECT_FALSE(player.MakeMove(&b, Position(x, y), side));
                    EXPECT_EQ(b, start);
                }
            }
            EXPECT_TRUE(player.ChooseMove(&start, size, side).Equals(Position(0, 0)));
        }
    }
}

TEST(HumanPlayer, ChoosesTheCornerOnAnyBoard) {
    HumanPlayer human;
    const Board start(8);
    const Board full = FullBoard();
    const Board cornerTaken = MakeBoard({{0, 0}}, {{1, 1}});
    const Board empty;
    for (const Board* b : {&start, &full, &cornerTaken, &empty}) {
        for (int side : {0, 1}) {
            const Position p = human.ChooseMove(b, 8, side);
            EXPECT_EQ(p.x, 0);
            EXPECT_EQ(p.y, 0);
        }
    }
    Player& asBase = human;
    EXPECT_TRUE(asBase.ChooseMove(&full, 8, 0).Equals(Position(0, 0)));
}

// Both players' MakeMove is the placement rule on the board they are given.
template <class P>
void ExpectMakeMoveIsTryPlace() {
    P player;
    Player& asBase = player;
    Board midGame = MakeBoard({{2, 2}, {3, 3}, {1, 4}, {5, 2}}, {{3, 2}, {2, 3}, {4, 2}, {2, 4}, {1, 1}});
    for (std::int8_t size = 5; size <= 8; ++size) {
        for (const Board& start : {Board(size), midGame}) {
            for (int side : {0, 1, 2}) {
                for (int x = 0; x < size; ++x) {
                    for (int y = 0; y < size; ++y) {
                        Board viaPlayer = start;
                        Board viaRule = start;
                        EXPECT_EQ(asBase.MakeMove(&viaPlayer, Position(x, y), side),
                                  viaRule.TryPlace(Position(x, y), side));
                        EXPECT_EQ(viaPlayer, viaRule);
                    }
                }
            }
        }
    }
}

TEST(HumanPlayer, MakeMoveIsThePlacementRule) { ExpectMakeMoveIsTryPlace<HumanPlayer>(); }
TEST(ComputerPlayer, MakeMoveIsThePlacementRule) { ExpectMakeMoveIsTryPlace<ComputerPlayer>(); }

TEST(HumanPlayer, LegalMoveGrowsOnlyTheMoversList) {
    HumanPlayer human;
    Board b(8);
    ASSERT_TRUE(human.MakeMove(&b, Position(4, 5), 1));
    EXPECT_EQ(Entries(b.side1), (SquareList{{4, 3}, {3, 4}, {4, 5}}));
    EXPECT_EQ(Entries(b.side0), (SquareList{{3, 3}, {4, 4}}));
    EXPECT_FALSE(human.MakeMove(&b, Position(4, 5), 0));
    EXPECT_FALSE(human.MakeMove(&b, Position(0, 0), 0));
    EXPECT_EQ(b.CountDiscs(0), 2);
    EXPECT_EQ(b.CountDiscs(1), 3);
}

}  // namespace
