// Small helpers shared by the board and player tests.
#pragma once

#include <initializer_list>
#include <ostream>
#include <utility>
#include <vector>

#include "board/board.h"

using SquareList = std::vector<std::pair<int, int>>;

// A list's entries in order, in a form gtest prints.
inline SquareList Entries(const PieceList& list) {
    SquareList out;
    for (int i = 0; i < list.count; ++i) out.emplace_back(list.items[i].x, list.items[i].y);
    return out;
}

inline Board MakeBoard(std::initializer_list<Position> side0, std::initializer_list<Position> side1) {
    Board b;
    for (Position p : side0) b.side0.Add(p);
    for (Position p : side1) b.side1.Add(p);
    return b;
}

// Squares where TryPlace accepts `side`, each tried on a fresh copy, column by column.
inline SquareList TryPlaceLegal(const Board& board, int size, int side) {
    SquareList legal;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            Board copy = board;
            if (copy.TryPlace(Position(x, y), side)) legal.emplace_back(x, y);
        }
    }
    return legal;
}

// A position only a board larger than 8 x 8 can hold: side 0's list is full,
// side 1 holds (1, 0), and the empty (0, 0) encloses it against side 0's (2, 0).
inline Board FullListPosition() {
    Board b;
    b.side1.Add(Position(1, 0));
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x) {
            if ((y > 0 || x > 1) && b.side0.Count() < PieceList::Capacity) b.side0.Add(Position(x, y));
        }
    }
    return b;
}

// A board as its two lists, so that a failed comparison reads as squares.
inline void PrintTo(const Board& b, std::ostream* os) {
    for (const PieceList* list : {&b.side0, &b.side1}) {
        *os << (list == &b.side0 ? "side 0:" : " side 1:");
        for (const auto& [x, y] : Entries(*list)) *os << " (" << x << ", " << y << ")";
    }
}
