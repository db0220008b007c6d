#include "match/game.h"

#include "players/computer_player.h"
#include "players/human_player.h"

Game g_game;

Game::~Game() {
    settings.reset();
    player1.reset();
    player2.reset();
    board.reset();
}

bool Game::Init(const SettingsStore& files, SettingsDialogs& dialogs) {
    files_ = files;
    dialogs_ = &dialogs;
    settings = std::make_unique<Settings>();
    if (!settings->Load(files, dialogs)) {
        settings.reset();
        return false;
    }
    NewMatch();
    return true;
}

void Game::NewMatch() {
    player1.reset();
    player2.reset();
    board.reset();
    // A setter command can store up to 9 humans; more than two means two.
    const std::int8_t humans = settings->HumanPlayers();
    if (humans <= 0) {
        player1 = std::make_unique<ComputerPlayer>();
        player2 = std::make_unique<ComputerPlayer>();
    } else if (humans == 1) {
        player1 = std::make_unique<HumanPlayer>();
        player2 = std::make_unique<ComputerPlayer>();
    } else {
        player1 = std::make_unique<HumanPlayer>();
        player2 = std::make_unique<HumanPlayer>();
    }
    board = std::make_unique<Board>(settings->BoardSize());
}

Player* Game::PlayerFor(std::int32_t side) const {
    return side == 0 ? player1.get() : player2.get();
}

std::int32_t Game::Execute(std::int32_t code) {
    const DecodedCommand c = DecodeCommand(code);
    if (c.op < static_cast<std::int32_t>(Command::GetBoardSize) ||
        c.op > static_cast<std::int32_t>(Command::AskMove)) {
        return 0;
    }
    if (!settings) return 0;  // before Init, or after it failed
    Settings& s = *settings;

    // The settings commands need nothing else.
    switch (static_cast<Command>(c.op)) {
        case Command::GetBoardSize: return s.BoardSize();
        case Command::GetMoveSeconds: return s.MoveSeconds();
        case Command::GetHumanPlayers: return s.HumanPlayers();
        case Command::GetDiscColour: return s.DiscColour(c.a1);
        // The digits of these opcodes are 0 to 9: only opcode 0 can carry a sign.
        case Command::SetBoardSize: s.boardSize = static_cast<std::int8_t>(c.a1); return 0;
        case Command::SetHumanPlayers: s.humanPlayers = static_cast<std::int8_t>(c.a1); return 0;
        case Command::SetMoveSeconds: s.moveSeconds = static_cast<std::int8_t>(c.a1); return 0;
        case Command::SetDiscColour:
            (c.a1 == 0 ? s.discColour1 : s.discColour2) = static_cast<std::int8_t>(c.a2);
            return 0;
        case Command::SaveSettings: s.Save(files_, *dialogs_); return 0;  // Save tells the user itself
        case Command::NewMatch: NewMatch(); return 0;
        default: break;
    }

    if (!board) return 0;
    // The rules do not know where the board ends: a square past its edge next
    // to an enclosed line would be accepted. Such a square is no move at all.
    const bool onBoard = c.a2 >= 0 && c.a3 >= 0 && c.a2 < s.BoardSize() && c.a3 < s.BoardSize();
    switch (static_cast<Command>(c.op)) {
        case Command::PlayMove: {
            Player* player = PlayerFor(c.a1);
            if (player == nullptr || !onBoard) return 0;
            return player->MakeMove(board.get(), Position(c.a2, c.a3), c.a1 == 0 ? 0 : 1) ? 1 : 0;
        }
        case Command::IsEnclosed:
            return board->IsEnclosed(Position(c.a1, c.a2), Position(c.a3, c.a4), s.BoardSize()) ? 1
                                                                                                : 0;
        case Command::CountDiscs:
        case Command::GetScore: return board->CountDiscs(c.a1);
        case Command::TurnDisc: board->TurnDisc(Position(c.a1, c.a2), c.a3); return 0;
        case Command::TryMove:
            scratchBoard = *board;
            return onBoard && scratchBoard.TryPlace(Position(c.a2, c.a3), c.a1) ? 1 : 0;
        case Command::AskMove: {
            Player* player = PlayerFor(c.a1);
            if (player == nullptr) return 0;
            const Position choice = player->ChooseMove(board.get(), s.BoardSize(), c.a1);
            return c.a2 == 0 ? choice.x : choice.y;
        }
        default: return 0;
    }
}
