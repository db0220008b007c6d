#include "players/computer_player.h"

#include "players/calendar_time.h"

namespace {

bool SameDiscs(const PieceList& a, const PieceList& b) {
    if (a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i) {
        if (!a.items[i].Equals(b.items[i])) return false;
    }
    return true;
}

}  // namespace

bool ComputerPlayer::MakeMove(Board* board, Position square, std::int32_t side) {
    return board->TryPlace(square, side);
}

bool ComputerPlayer::SameQuestion(const Board& board, std::int32_t size, std::int32_t side) const {
    return answered && size == lastSize && (side == 0) == (lastSide == 0) &&
           SameDiscs(board.side0, lastBoard.side0) && SameDiscs(board.side1, lastBoard.side1);
}

Position ComputerPlayer::ChooseMove(const Board* board, std::int32_t size, std::int32_t side) {
    // The screen asks once for the column and once for the row; a second
    // boundary between the two must not make them name different squares.
    if (SameQuestion(*board, size, side)) return lastAnswer;

    random.Seed(static_cast<std::uint32_t>(CalendarTimeSeconds()));
    Position candidates[PieceList::Capacity];
    int found = 0;
    for (std::int32_t x = 0; x < size; ++x) {
        for (std::int32_t y = 0; y < size; ++y) {
            workBoard = *board;
            if (workBoard.TryPlace(Position(x, y), side) && found < PieceList::Capacity) {
                candidates[found++] = Position(x, y);
            }
        }
    }
    if (found == 0) candidates[found++] = Position(0, 0);
    const Position chosen = candidates[random.Draw() % found];

    answered = true;
    lastBoard = *board;
    lastSize = size;
    lastSide = side;
    lastAnswer = chosen;
    return chosen;
}
