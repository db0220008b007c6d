#include "board/piece_list.h"

#include <gtest/gtest.h>

#include "tests/support/board_lists.h"

namespace {

PieceList ListOf(std::initializer_list<Position> squares) {
    PieceList list;
    for (Position p : squares) EXPECT_TRUE(list.Add(p));
    return list;
}

TEST(PieceList, NewListIsEmpty) {
    PieceList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Find(Position(0, 0)), PieceList::NotFound);
}

TEST(PieceList, KeepsOrderOfAddition) {
    PieceList list = ListOf({{4, 1}, {0, 0}, {7, 7}, {2, 5}});
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(Entries(list), (SquareList{{4, 1}, {0, 0}, {7, 7}, {2, 5}}));
}

TEST(PieceList, FindAnswersIndexOrNotFound) {
    PieceList list = ListOf({{1, 2}, {2, 1}, {3, 3}});
    EXPECT_EQ(list.Find(Position(1, 2)), 0);
    EXPECT_EQ(list.Find(Position(2, 1)), 1);
    EXPECT_EQ(list.Find(Position(3, 3)), 2);
    EXPECT_EQ(PieceList::NotFound, 100);
    // Same coordinates swapped, a neighbour, and a square off any board.
    EXPECT_EQ(list.Find(Position(2, 2)), PieceList::NotFound);
    EXPECT_EQ(list.Find(Position(3, 4)), PieceList::NotFound);
    EXPECT_EQ(list.Find(Position(-1, 2)), PieceList::NotFound);
}

TEST(PieceList, FindIgnoresEntriesPastCount) {
    PieceList list = ListOf({{1, 1}, {5, 5}});
    ASSERT_TRUE(list.Remove(Position(5, 5)));
    // The freed entry still holds (5, 5) in storage but is no longer in the list.
    EXPECT_EQ(list.Find(Position(5, 5)), PieceList::NotFound);
}

TEST(PieceList, RemoveClosesTheGapInOrder) {
    PieceList first = ListOf({{1, 1}, {2, 2}, {3, 3}});
    EXPECT_TRUE(first.Remove(Position(1, 1)));
    EXPECT_EQ(first.Count(), 2);
    EXPECT_EQ(Entries(first), (SquareList{{2, 2}, {3, 3}}));

    PieceList middle = ListOf({{1, 1}, {2, 2}, {3, 3}, {4, 4}});
    EXPECT_TRUE(middle.Remove(Position(2, 2)));
    EXPECT_EQ(Entries(middle), (SquareList{{1, 1}, {3, 3}, {4, 4}}));

    PieceList last = ListOf({{1, 1}, {2, 2}, {3, 3}});
    EXPECT_TRUE(last.Remove(Position(3, 3)));
    EXPECT_EQ(Entries(last), (SquareList{{1, 1}, {2, 2}}));

    PieceList only = ListOf({{6, 0}});
    EXPECT_TRUE(only.Remove(Position(6, 0)));
    EXPECT_EQ(only.Count(), 0);
    // Adding after removals appends at the new end.
    EXPECT_TRUE(middle.Add(Position(2, 2)));
    EXPECT_EQ(Entries(middle), (SquareList{{1, 1}, {3, 3}, {4, 4}, {2, 2}}));
}

TEST(PieceList, RemoveOfAbsentSquareChangesNothing) {
    PieceList list = ListOf({{1, 1}, {2, 2}});
    EXPECT_FALSE(list.Remove(Position(1, 2)));
    EXPECT_EQ(Entries(list), (SquareList{{1, 1}, {2, 2}}));
    PieceList empty;
    EXPECT_FALSE(empty.Remove(Position(0, 0)));
    EXPECT_EQ(empty.Count(), 0);
}

TEST(PieceList, FullListRefusesAddAndStaysAsItWas) {
    PieceList list;
    SquareList expected;
    for (int x = 0; x < 8; ++x) {
        for (int y = 0; y < 8; ++y) {
            ASSERT_TRUE(list.Add(Position(x, y)));
            expected.emplace_back(x, y);
        }
    }
    ASSERT_EQ(list.Count(), PieceList::Capacity);
    EXPECT_FALSE(list.Add(Position(8, 8)));
    EXPECT_FALSE(list.Add(Position(9, 0)));
    EXPECT_EQ(list.Count(), PieceList::Capacity);
    EXPECT_EQ(Entries(list), expected);
    EXPECT_EQ(list.Find(Position(8, 8)), PieceList::NotFound);

    // A removal makes room again, for exactly one more.
    ASSERT_TRUE(list.Remove(Position(0, 0)));
    EXPECT_TRUE(list.Add(Position(8, 8)));
    EXPECT_EQ(list.Find(Position(8, 8)), PieceList::Capacity - 1);
    EXPECT_FALSE(list.Add(Position(9, 9)));
    EXPECT_EQ(list.Count(), PieceList::Capacity);
}

}  // namespace
