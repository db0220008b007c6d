// A person at the mouse: its squares come from clicks, so it only plays them.
#pragma once

#include "players/player.h"

class HumanPlayer : public Player {
public:
    ~HumanPlayer() override = default;
    bool MakeMove(Board* board, Position square, std::int32_t side) override;
};
