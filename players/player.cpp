#include "players/player.h"

bool Player::MakeMove(Board*, Position, std::int32_t) { return false; }

Position Player::ChooseMove(const Board*, std::int32_t, std::int32_t) { return Position(0, 0); }
