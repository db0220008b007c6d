// A side's player. The base refuses every move and always chooses (0, 0); the
// human and computer players override what they need.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "board/position.h"

class Player {
public:
    virtual ~Player() = default;
    // Plays `square` for `side` on `board` if legal; true when the disc was placed.
    virtual bool MakeMove(Board* board, Position square, std::int32_t side);
    // The square this player would play; `board` is only read.
    virtual Position ChooseMove(const Board* board, std::int32_t size, std::int32_t side);
};
