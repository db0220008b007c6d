// Game::Execute on any sequence of 32-bit codes, after Init with a settings
// file present. The first byte chooses the file's board size, players and clock;
// the rest is read as little-endian codes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "board/piece_list.h"
#include "match/game.h"
#include "tests/support/fuzz_support.h"
#include "tests/support/calendar.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/settings_file.h"
#include "tests/support/platform_files.h"

using wolby_fuzz::Expect;

namespace {

bool ListsHold(const Board& board) {
    for (const PieceList* list : {&board.side0, &board.side1}) {
        if (list->count < 0 || list->count > PieceList::Capacity) return false;
    }
    return true;
}

int Discs(const Game& game) { return game.board->CountDiscs(0) + game.board->CountDiscs(1); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Expect(wolby_fuzz::EnterScratchDirectory(), "a scratch directory");
    // The computer's choice depends on the calendar: a fixed one keeps each
    // input's run the same.
    wolby_test::SetCalendarTime(1700000000);
    const std::uint8_t choice = size > 0 ? data[0] : 0;
    Expect(wolby_test::WriteSettingsFile("setting.dat", {1, 2, 5 + choice % 4, choice / 12 % 10, choice / 4 % 3}),
           "the settings file");

    wolby_test::ScriptedDialogs dialogs;
    Game game;
    Expect(game.Init(wolby_test::kFiles, dialogs), "Init with a settings file");
    for (std::size_t at = 1; at + 4 <= size; at += 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, data + at, 4);
        const std::int32_t code = static_cast<std::int32_t>(bits);
        const int before = Discs(game);
        const std::int32_t answer = game.Execute(code);
        Expect(game.settings && game.player1 && game.player2 && game.board, "the match keeps its parts");
        Expect(ListsHold(*game.board) && ListsHold(game.scratchBoard), "disc lists within capacity");
        // Only a placed disc adds one, only a new match starts afresh, and a
        // turn moves a disc without losing or making one.
        const DecodedCommand c = DecodeCommand(code);
        if (c.op != static_cast<std::int32_t>(Command::NewMatch)) {
            const bool placed = c.op == static_cast<std::int32_t>(Command::PlayMove) && answer == 1;
            Expect(Discs(game) == before + (placed ? 1 : 0), "no disc appears or vanishes");
            const std::int32_t edge = game.settings->BoardSize();
            Expect(!placed || (c.a2 < edge && c.a3 < edge), "no disc placed off the board");
        }
    }
    // A failed save (there is none here) would show a box; nothing else may.
    Expect(dialogs.TakeShown().empty(), "no dialog");
    return 0;
}
