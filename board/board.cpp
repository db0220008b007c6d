#include "board/board.h"

Board::Board(std::int8_t size) {
    const std::int32_t c = size / 2 - 1;
    side0.Add(Position(c, c));
    side1.Add(Position(c + 1, c));
    side1.Add(Position(c, c + 1));
    side0.Add(Position(c + 1, c + 1));
}

bool Board::TurnDisc(Position square, std::int32_t side) {
    // The removal's answer is not consulted: the disc always joins the mover.
    if (side == 0) {
        side1.Remove(square);
        side0.Add(square);
    } else {
        side0.Remove(square);
        side1.Add(square);
    }
    return true;
}

std::int32_t Board::CountDiscs(std::int32_t side) const {
    return side == 0 ? side0.Count() : side1.Count();
}
