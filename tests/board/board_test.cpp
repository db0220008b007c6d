#include "board/board.h"

#include <gtest/gtest.h>

#include "tests/support/board_lists.h"

namespace {

struct Start {
    std::int8_t size;
    SquareList side0;
    SquareList side1;
};

TEST(Board, StartingPositions) {
    const Start starts[] = {
        {5, {{1, 1}, {2, 2}}, {{2, 1}, {1, 2}}},
        {6, {{2, 2}, {3, 3}}, {{3, 2}, {2, 3}}},
        {7, {{2, 2}, {3, 3}}, {{3, 2}, {2, 3}}},
        {8, {{3, 3}, {4, 4}}, {{4, 3}, {3, 4}}},
    };
    for (const Start& s : starts) {
        SCOPED_TRACE(s.size);
        Board b(s.size);
        EXPECT_EQ(Entries(b.side0), s.side0);
        EXPECT_EQ(Entries(b.side1), s.side1);
        EXPECT_EQ(b.CountDiscs(0), 2);
        EXPECT_EQ(b.CountDiscs(1), 2);
    }
}

TEST(Board, DefaultBoardIsEmpty) {
    Board b;
    EXPECT_EQ(b.CountDiscs(0), 0);
    EXPECT_EQ(b.CountDiscs(1), 0);
}

TEST(Board, CountDiscsTakesEveryNonZeroSideAsSide1) {
    Board b = MakeBoard({{0, 0}}, {{1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(b.CountDiscs(0), 1);
    EXPECT_EQ(b.CountDiscs(1), 3);
    EXPECT_EQ(b.CountDiscs(5), 3);
    EXPECT_EQ(b.CountDiscs(-1), 3);
}

TEST(Board, TurnDiscMovesTheSquareToTheEndOfTheMoversList) {
    Board b(6);
    EXPECT_TRUE(b.TurnDisc(Position(3, 2), 0));
    EXPECT_EQ(Entries(b.side1), (SquareList{{2, 3}}));
    EXPECT_EQ(Entries(b.side0), (SquareList{{2, 2}, {3, 3}, {3, 2}}));

    // Any non-zero side turns toward side 1, taking the disc from the middle of side 0.
    EXPECT_TRUE(b.TurnDisc(Position(3, 3), 7));
    EXPECT_EQ(Entries(b.side0), (SquareList{{2, 2}, {3, 2}}));
    EXPECT_EQ(Entries(b.side1), (SquareList{{2, 3}, {3, 3}}));
    EXPECT_EQ(b.CountDiscs(0) + b.CountDiscs(1), 4);
}

TEST(Board, ATurnThatCannotCompleteChangesNothing) {
    const Board start(6);
    Board b = start;
    EXPECT_FALSE(b.TurnDisc(Position(0, 0), 1)) << "an empty square";
    EXPECT_FALSE(b.TurnDisc(Position(2, 2), 0)) << "the mover's own disc";
    EXPECT_FALSE(b.TurnDisc(Position(3, 2), 1)) << "the mover's own disc";
    EXPECT_EQ(b, start);

    // The mover's list is full: the disc stays where it is instead of vanishing.
    b = FullListPosition();
    const Board full = b;
    EXPECT_FALSE(b.TurnDisc(Position(1, 0), 0));
    EXPECT_EQ(b, full);
    ASSERT_TRUE(b.side0.Remove(Position(2, 7)));
    EXPECT_TRUE(b.TurnDisc(Position(1, 0), 0)) << "with room again it turns";
    EXPECT_EQ(b.CountDiscs(0), PieceList::Capacity);
    EXPECT_EQ(b.CountDiscs(1), 0);
}

TEST(Board, CopiesAreIndependent) {
    Board original(8);
    Board copy = original;
    ASSERT_EQ(copy, original);

    ASSERT_TRUE(copy.TryPlace(Position(2, 4), 0));
    copy.TurnDisc(Position(3, 4), 0);
    EXPECT_EQ(Entries(original.side0), (SquareList{{3, 3}, {4, 4}}));
    EXPECT_EQ(Entries(original.side1), (SquareList{{4, 3}, {3, 4}}));

    Board assigned;
    assigned = original;
    original.TurnDisc(Position(4, 3), 0);
    EXPECT_EQ(Entries(assigned.side0), (SquareList{{3, 3}, {4, 4}}));
    EXPECT_EQ(Entries(assigned.side1), (SquareList{{4, 3}, {3, 4}}));
    EXPECT_EQ(Entries(copy.side0), (SquareList{{3, 3}, {4, 4}, {2, 4}, {3, 4}}));
}

}  // namespace
