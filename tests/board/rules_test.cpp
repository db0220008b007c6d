// Placement and enclosure on hand-built positions.
#include <gtest/gtest.h>

#include "board/board.h"
#include "tests/support/board_lists.h"

namespace {

struct Dir {
    int x;
    int y;
};
constexpr Dir kDirections[8] = {{0, 1}, {1, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0}};

Position Step(Position from, Dir dir, int k) { return Position(from.x + k * dir.x, from.y + k * dir.y); }

// ---- TryPlace ----

struct StartMoves {
    std::int8_t size;
    SquareList side0;
    SquareList side1;
};

TEST(TryPlace, LegalSquaresOfTheStartingPositions) {
    const StartMoves table[] = {
        {5, {{0, 2}, {1, 3}, {2, 0}, {3, 1}}, {{0, 1}, {1, 0}, {2, 3}, {3, 2}}},
        {6, {{1, 3}, {2, 4}, {3, 1}, {4, 2}}, {{1, 2}, {2, 1}, {3, 4}, {4, 3}}},
        {7, {{1, 3}, {2, 4}, {3, 1}, {4, 2}}, {{1, 2}, {2, 1}, {3, 4}, {4, 3}}},
        {8, {{2, 4}, {3, 5}, {4, 2}, {5, 3}}, {{2, 3}, {3, 2}, {4, 5}, {5, 4}}},
    };
    for (const StartMoves& t : table) {
        SCOPED_TRACE(t.size);
        const Board start(t.size);
        EXPECT_EQ(TryPlaceLegal(start, t.size, 0), t.side0);
        EXPECT_EQ(TryPlaceLegal(start, t.size, 1), t.side1);
        EXPECT_EQ(TryPlaceLegal(start, t.size, -3), t.side1);
    }
}

TEST(TryPlace, LegalMoveAppendsOnlyTheSquareAndIllegalChangesNothing) {
    for (std::int8_t size = 5; size <= 8; ++size) {
        for (int side = 0; side <= 1; ++side) {
            const Board start(size);
            for (int x = 0; x < size; ++x) {
                for (int y = 0; y < size; ++y) {
                    SCOPED_TRACE(testing::Message() << "size " << int{size} << " side " << side << " (" << x << "," << y << ")");
                    Board b = start;
                    const bool legal = b.TryPlace(Position(x, y), side);
                    const PieceList& own = side == 0 ? b.side0 : b.side1;
                    const PieceList& startOwn = side == 0 ? start.side0 : start.side1;
                    const PieceList& other = side == 0 ? b.side1 : b.side0;
                    const PieceList& startOther = side == 0 ? start.side1 : start.side0;
                    EXPECT_EQ(Entries(other), Entries(startOther));
                    if (legal) {
                        SquareList expected = Entries(startOwn);
                        expected.emplace_back(x, y);
                        EXPECT_EQ(Entries(own), expected);
                    } else {
                        EXPECT_EQ(Entries(own), Entries(startOwn));
                    }
                }
            }
        }
    }
}

TEST(TryPlace, ALegalSquareRefusedByAFullListIsNotPlayed) {
    Board b = FullListPosition();
    const Board full = b;
    EXPECT_FALSE(b.TryPlace(Position(0, 0), 0));
    EXPECT_EQ(b, full);
    ASSERT_TRUE(b.side0.Remove(Position(2, 7)));
    EXPECT_TRUE(b.TryPlace(Position(0, 0), 0)) << "the square is legal once there is room";
}

TEST(TryPlace, OccupiedSquareIsRefusedEvenWithALineToEnclose) {
    // From (0, 0) to the right: an opponent disc, then one of side 0.
    Board heldByOpponent = MakeBoard({{2, 0}}, {{1, 0}, {0, 0}});
    Board heldByOwn = MakeBoard({{2, 0}, {0, 0}}, {{1, 0}});
    const Board before1 = heldByOpponent, before2 = heldByOwn;
    EXPECT_FALSE(heldByOpponent.TryPlace(Position(0, 0), 0));
    EXPECT_FALSE(heldByOwn.TryPlace(Position(0, 0), 0));
    EXPECT_EQ(heldByOpponent, before1);
    EXPECT_EQ(heldByOwn, before2);
}

TEST(TryPlace, EachDirectionEnclosesOnItsOwn) {
    const Position played(4, 4);
    for (Dir dir : kDirections) {
        SCOPED_TRACE(testing::Message() << "direction (" << dir.x << "," << dir.y << ")");
        for (int length = 1; length <= 3; ++length) {
            Board b;
            for (int k = 1; k <= length; ++k) b.side1.Add(Step(played, dir, k));
            b.side0.Add(Step(played, dir, length + 1));
            Board side1Tries = b;
            EXPECT_TRUE(b.TryPlace(played, 0)) << "length " << length;
            // The same line does not enclose anything for the other side.
            EXPECT_FALSE(side1Tries.TryPlace(played, 1));
        }
        // Own disc right next to the square: nothing enclosed.
        Board adjacent = MakeBoard({Step(played, dir, 1), Step(played, dir, 2)}, {});
        EXPECT_FALSE(adjacent.TryPlace(played, 0));
        // A gap breaks the line.
        Board gap = MakeBoard({Step(played, dir, 3)}, {Step(played, dir, 1)});
        EXPECT_FALSE(gap.TryPlace(played, 0));
        // A line with nothing of side 0 behind it.
        Board open = MakeBoard({}, {Step(played, dir, 1), Step(played, dir, 2)});
        EXPECT_FALSE(open.TryPlace(played, 0));
    }
}

TEST(TryPlace, LineRunningToTheEdgeIsNotEnclosed) {
    // Side 1 fills row 0 from (1, 0) to the right edge of a 5 x 5 board.
    Board b = MakeBoard({{4, 4}}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}});
    EXPECT_FALSE(b.TryPlace(Position(0, 0), 0));
    EXPECT_EQ(b.CountDiscs(0), 1);
}

TEST(TryPlace, LooksAtMostEightDiscsAhead) {
    // The board has no size, so lines longer than any real board can be laid out.
    const Position played(20, 20);
    for (Dir dir : kDirections) {
        SCOPED_TRACE(testing::Message() << "direction (" << dir.x << "," << dir.y << ")");
        Board eight, nine;
        for (int k = 1; k <= 8; ++k) eight.side1.Add(Step(played, dir, k));
        eight.side0.Add(Step(played, dir, 9));
        for (int k = 1; k <= 9; ++k) nine.side1.Add(Step(played, dir, k));
        nine.side0.Add(Step(played, dir, 10));
        const Board nineBefore = nine;
        EXPECT_TRUE(eight.TryPlace(played, 0));
        EXPECT_FALSE(nine.TryPlace(played, 0));
        EXPECT_EQ(nine, nineBefore);
        // A short line in the opposite direction still makes the move legal.
        const Dir back{-dir.x, -dir.y};
        nine.side1.Add(Step(played, back, 1));
        nine.side0.Add(Step(played, back, 2));
        EXPECT_TRUE(nine.TryPlace(played, 0));
    }
}

TEST(TryPlace, TwoEnclosingDirectionsAppendTheSquareOnce) {
    // Down: (2, 3) then side 0 on (2, 4); right: (3, 2) then side 0 on (4, 2).
    Board b = MakeBoard({{2, 4}, {4, 2}}, {{2, 3}, {3, 2}});
    ASSERT_TRUE(b.TryPlace(Position(2, 2), 0));
    EXPECT_EQ(Entries(b.side0), (SquareList{{2, 4}, {4, 2}, {2, 2}}));
    // Placement does not turn anything.
    EXPECT_EQ(Entries(b.side1), (SquareList{{2, 3}, {3, 2}}));
}

// ---- IsEnclosed ----

SquareList EnclosedSquares(const Board& b, Position played, int size) {
    SquareList out;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            if (b.IsEnclosed(played, Position(x, y), size)) out.emplace_back(x, y);
        }
    }
    return out;
}

TEST(IsEnclosed, FirstMoveOnTheEightByEightStart) {
    Board b(8);
    ASSERT_TRUE(b.TryPlace(Position(2, 4), 0));
    ASSERT_EQ(Entries(b.side0), (SquareList{{3, 3}, {4, 4}, {2, 4}}));
    const Board before = b;
    EXPECT_EQ(EnclosedSquares(b, Position(2, 4), 8), (SquareList{{3, 4}}));
    EXPECT_EQ(b, before);
}

TEST(IsEnclosed, SingleLineAndBrokenLine) {
    const Board line = MakeBoard({{0, 0}, {4, 0}}, {{1, 0}, {2, 0}, {3, 0}});
    EXPECT_EQ(EnclosedSquares(line, Position(0, 0), 8), (SquareList{{1, 0}, {2, 0}, {3, 0}}));

    const Board broken = MakeBoard({{0, 0}, {4, 0}}, {{1, 0}, {2, 0}});
    EXPECT_EQ(EnclosedSquares(broken, Position(0, 0), 8), SquareList{});
}

TEST(IsEnclosed, LineToTheEdgeIsNotEnclosed) {
    const Board diagonal = MakeBoard({{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}, {{0, 0}});
    EXPECT_EQ(EnclosedSquares(diagonal, Position(0, 0), 6), SquareList{});

    // The edge is the size passed in: the same line, continued off a 6 x 6
    // board to a disc of side 1, is enclosed only on a board that reaches it.
    Board beyond = diagonal;
    beyond.side0.Add(Position(6, 6));
    beyond.side1.Add(Position(7, 7));
    EXPECT_EQ(EnclosedSquares(beyond, Position(0, 0), 6), SquareList{});
    EXPECT_EQ(EnclosedSquares(beyond, Position(0, 0), 8),
              (SquareList{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}));
}

TEST(IsEnclosed, TwoLinesAtOnceButNotADiscOffTheLines) {
    const Board b = MakeBoard({{3, 2}, {2, 1}, {3, 0}}, {{2, 2}, {4, 2}, {2, 0}});
    EXPECT_EQ(EnclosedSquares(b, Position(2, 2), 8), (SquareList{{2, 1}, {3, 2}}));
    EXPECT_FALSE(b.IsEnclosed(Position(2, 2), Position(3, 0), 8));
}

TEST(IsEnclosed, ThePlayedSquareAndTheMoversOwnDiscsAreNotEnclosed) {
    const Board b = MakeBoard({{0, 0}, {4, 0}}, {{1, 0}, {2, 0}, {3, 0}});
    EXPECT_FALSE(b.IsEnclosed(Position(0, 0), Position(0, 0), 8));
    EXPECT_FALSE(b.IsEnclosed(Position(0, 0), Position(4, 0), 8));
    // Played by side 1 on (2, 0): (0, 0) of side 0 has only the edge behind it.
    EXPECT_FALSE(b.IsEnclosed(Position(2, 0), Position(0, 0), 8));
}

TEST(IsEnclosed, LinesInEveryDirectionWithOpponentDiscsBeyondTheCloser) {
    const Position played(3, 3);
    for (Dir dir : kDirections) {
        SCOPED_TRACE(testing::Message() << "direction (" << dir.x << "," << dir.y << ")");
        // Two of side 0's discs, side 1 closes, then one more of side 0 that stays.
        Board b = MakeBoard({Step(played, dir, 1), Step(played, dir, 2), Step(played, dir, 4)},
                            {played, Step(played, dir, 3)});
        EXPECT_TRUE(b.IsEnclosed(played, Step(played, dir, 1), 20));
        EXPECT_TRUE(b.IsEnclosed(played, Step(played, dir, 2), 20));
        EXPECT_FALSE(b.IsEnclosed(played, Step(played, dir, 4), 20));
        // An opponent disc on the other side of the played square with nothing behind it.
        const Dir back{-dir.x, -dir.y};
        b.side0.Add(Step(played, back, 1));
        EXPECT_FALSE(b.IsEnclosed(played, Step(played, back, 1), 20));
        EXPECT_TRUE(b.IsEnclosed(played, Step(played, dir, 1), 20));
    }
}

}  // namespace
