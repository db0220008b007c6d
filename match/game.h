// The match object: owns the settings, the two players and the match board, and
// is the screens' only way to them, through the integer commands of Execute.
#pragma once

#include <cstdint>
#include <memory>

#include "board/board.h"
#include "match/command.h"
#include "players/player.h"
#include "settings/settings.h"

class Game {
public:
    Game() = default;
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    // Deletes settings, player 1, player 2 and the board, in that order.
    virtual ~Game();

    // Creates and loads the settings, then the players and a board in its
    // starting position. False when the settings file is missing and the user
    // declined the defaults: nothing is left then, and every command answers 0.
    // The settings are kept in `files` and ask and tell through `dialogs`, both
    // for as long as the game lives.
    bool Init(const SettingsStore& files, SettingsDialogs& dialogs);
    // Decodes `code` (see PackCommand) and carries out the command. Any code is
    // safe: an unknown opcode, or a command before a successful Init, answers 0
    // and changes nothing. PlayMove and TryMove refuse a square off the board
    // (by the size the settings hold), as they refuse an illegal one; no command
    // makes a disc appear except a placed one, or vanish.
    std::int32_t Execute(std::int32_t code);

    Board scratchBoard;  // only TryMove plays on it
    std::unique_ptr<Player> player1;
    std::unique_ptr<Player> player2;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Board> board;

private:
    void NewMatch();
    SettingsStore files_{};
    SettingsDialogs* dialogs_ = nullptr;
    // The player for `side` (0 is player 1, any other player 2), or null.
    Player* PlayerFor(std::int32_t side) const;
};

extern Game g_game;
