#include "players/human_player.h"

bool HumanPlayer::MakeMove(Board* board, Position square, std::int32_t side) {
    return board->TryPlace(square, side);
}
