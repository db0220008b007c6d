#include "board/board.h"

Board::Board(std::int8_t size) {
    const std::int32_t c = size / 2 - 1;
    side0.Add(Position(c, c));
    side1.Add(Position(c + 1, c));
    side1.Add(Position(c, c + 1));
    side0.Add(Position(c + 1, c + 1));
}

bool Board::TurnDisc(Position square, std::int32_t side) {
    PieceList& mover = side == 0 ? side0 : side1;
    PieceList& other = side == 0 ? side1 : side0;
    // A turn moves a disc from one list to the other, so the number of discs
    // never changes. With no disc of the other side on the square, or no room
    // left in the mover's list, there is nothing it could do without making a
    // disc appear or vanish.
    if (!other.Holds(square) || mover.Count() >= PieceList::Capacity) return false;
    other.Remove(square);
    mover.Add(square);
    return true;
}

std::int32_t Board::CountDiscs(std::int32_t side) const {
    return side == 0 ? side0.Count() : side1.Count();
}
