// One position of the game: the squares of each side's discs. A square is empty
// when neither list holds it. The board does not know its size.
#pragma once

#include <cstdint>

#include "board/piece_list.h"
#include "board/position.h"

class Board {
public:
    // Both lists empty.
    Board() = default;
    // The starting position of a board with `size` squares a side.
    explicit Board(std::int8_t size);
    Board(const Board&) = default;
    Board& operator=(const Board&) = default;
    virtual ~Board() = default;

    // The placement rule: when `square` is a legal move for `side`, appends it to
    // the side's list and answers true; otherwise answers false, board unchanged.
    // Does not turn the enclosed discs.
    bool TryPlace(Position square, std::int32_t side);
    // True when the disc on `candidate` is turned by the disc just played on
    // `played`, on a board of `size` squares a side.
    bool IsEnclosed(Position played, Position candidate, std::int32_t size) const;
    // Moves the other side's disc on `square` to the end of `side`'s list and
    // answers true. When the other side holds no disc there, or `side`'s list
    // is full, answers false and changes nothing.
    bool TurnDisc(Position square, std::int32_t side);
    std::int32_t CountDiscs(std::int32_t side) const;
    // Both lists the same, in the same order.
    bool operator==(const Board& other) const { return side0 == other.side0 && side1 == other.side1; }

    PieceList side0;  // player 1
    PieceList side1;  // player 2
};
