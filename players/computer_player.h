// The computer's side: picks one of its legal squares at random, each with the
// same chance, reseeding its generator from the calendar time at every choice.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "players/lcg.h"
#include "players/player.h"

class ComputerPlayer : public Player {
public:
    ~ComputerPlayer() override = default;
    bool MakeMove(Board* board, Position square, std::int32_t side) override;
    // A random legal square for `side`, or (0, 0) when there is none. Asked
    // again about an identical board, size and side, it gives the same answer,
    // so the column and the row of one move always name one square.
    Position ChooseMove(const Board* board, std::int32_t size, std::int32_t side) override;

    Board workBoard;  // trial moves are played on this copy, never on the caller's board

private:
    bool SameQuestion(const Board& board, std::int32_t size, std::int32_t side) const;

    Lcg random;
    bool answered = false;
    Board lastBoard;
    std::int32_t lastSize = 0;
    std::int32_t lastSide = 0;
    Position lastAnswer;
};
