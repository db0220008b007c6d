// Writes the seed inputs of the fuzz targets; the committed corpus/ is its
// output (a test checks that they still match). Usage: wolby_fuzz_seeds <folder>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "board/board.h"
#include "match/command.h"
#include "settings/settings.h"
#include "tests/support/bmp_file.h"
#include "tests/support/byte_file.h"
#include "tests/support/settings_file.h"

namespace {

using wolby_test::Bytes;
namespace fs = std::filesystem;

void Write(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    if (!wolby_test::WriteBytes(path, bytes)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// ---------------------------------------------------------------- settings
void SettingsSeeds(const fs::path& folder) {
    const Bytes tag(std::begin(Settings::kTypeTag), std::end(Settings::kTypeTag));
    const auto with = [&tag](std::initializer_list<std::uint8_t> rest) {
        Bytes all = tag;
        all.insert(all.end(), rest);
        return all;
    };
    Write(folder / "defaults", wolby_test::DefaultSettingsFile());
    Write(folder / "every_field_set", with({3, 9, 8, 5, 1, 0, 0, 0}));
    Write(folder / "line_feed_pair", with({0x0D, 0x0A, 4, 7, 5, 1, 0, 0, 0}));
    Write(folder / "lone_returns", Bytes{0x0D, 0x0D, 0x0A, 0x0D, 0x0D, 3, 4, 7, 5, 1});
    Write(folder / "end_of_file_mark", with({3, 4, 0x1A, 7, 5, 1, 0, 0, 0}));
    Write(folder / "out_of_range", with({0, 0x80, 9, 0xFF, 3, 0, 0, 0}));
    Write(folder / "short", with({3}));
    Bytes longer = with({3, 4, 7, 5, 1, 0, 0, 0});
    longer.insert(longer.end(), 40, 0x0A);
    Write(folder / "long_with_line_feeds", longer);
}

// ---------------------------------------------------------------- execute
void Code(Bytes& out, std::int32_t code) { Put32(out, static_cast<std::uint32_t>(code)); }
void Ask(Bytes& out, Command op, std::int32_t a1 = 0, std::int32_t a2 = 0, std::int32_t a3 = 0,
         std::int32_t a4 = 0) {
    Code(out, PackCommand(op, a1, a2, a3, a4, 0));
}

void ExecuteSeeds(const fs::path& folder) {
    // First byte: board 6 (choice % 4 == 1), two humans (choice / 4 % 3 == 2).
    Bytes opening{9};
    for (Command op : {Command::GetBoardSize, Command::GetHumanPlayers, Command::GetMoveSeconds}) Ask(opening, op);
    Ask(opening, Command::GetDiscColour, 0);
    Ask(opening, Command::GetDiscColour, 1);
    Ask(opening, Command::TryMove, 0, 4, 2);
    Ask(opening, Command::PlayMove, 0, 4, 2);  // encloses (3, 2)
    for (std::int32_t i = 0; i < 6; ++i)
        for (std::int32_t j = 0; j < 6; ++j) Ask(opening, Command::IsEnclosed, 4, 2, i, j);
    Ask(opening, Command::TurnDisc, 3, 2, 0);
    Ask(opening, Command::GetScore, 0);
    Ask(opening, Command::CountDiscs, 1);
    Write(folder / "human_opening", opening);

    // Computer players: ask and play, side after side.
    Bytes computer{0};
    for (int turn = 0; turn < 6; ++turn) {
        const std::int32_t side = turn % 2;
        Ask(computer, Command::AskMove, side, 0);
        Ask(computer, Command::AskMove, side, 1);
        Ask(computer, Command::PlayMove, side, 2, 1);
    }
    Write(folder / "computer_turns", computer);

    // Setters, a save and a new match on the board they ask for.
    Bytes setters{3};
    Ask(setters, Command::SetBoardSize, 9);
    Ask(setters, Command::SetHumanPlayers, 7);
    Ask(setters, Command::SetMoveSeconds, 9);
    Ask(setters, Command::SetDiscColour, 1, 0);
    Ask(setters, Command::SaveSettings);
    Ask(setters, Command::NewMatch);
    // On the 9 x 9 board both players place discs, turning none, while either
    // can: that fills the board. Then every disc of player 2 is turned to
    // player 1, whose list fills up and must refuse the rest.
    Board board(9);
    for (bool placed = true; placed;) {
        placed = false;
        for (std::int32_t side = 0; side <= 1; ++side) {
            for (std::int32_t square = 0; square < 81; ++square) {
                Board trial = board;
                if (trial.TryPlace(Position(square / 9, square % 9), side)) {
                    board = trial;
                    Ask(setters, Command::PlayMove, side, square / 9, square % 9);
                    placed = true;
                    break;
                }
            }
        }
    }
    const PieceList toTurn = board.side1;
    for (int i = 0; i < toTurn.Count(); ++i) {
        Ask(setters, Command::TurnDisc, toTurn.items[i].x, toTurn.items[i].y, 0);
    }
    Ask(setters, Command::GetScore, 0);
    Write(folder / "setters_and_full_list", setters);

    // Codes outside the vocabulary, and negative ones.
    Bytes odd{1};
    for (std::int32_t code : {-1, -100000, 1700000, 2147483647, -2147483647 - 1, 99999}) Code(odd, code);
    Write(folder / "odd_codes", odd);
}

// ---------------------------------------------------------------- bitmap
// A small bitmap of the given depth, its palette and pixels in a pattern of
// many colours; bitfields with 16 and 32 bits when asked.
Bytes Bmp(std::int32_t width, std::int32_t height, int bits, bool topDown, bool bitfields, bool core = false) {
    wolby_test::BmpPicture picture(width, height, bits);
    picture.topDown = topDown;
    picture.bitfields = bitfields;
    picture.coreHeader = core;
    for (std::uint32_t i = 0; bits <= 8 && i < (1u << bits); ++i) {
        picture.palette.push_back((255 - i) | ((i * 91 & 0xFF) << 8) | ((i * 37 & 0xFF) << 16));
    }
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0x1000000;
    picture.at = [colours](std::int32_t x, std::int32_t y) {
        return static_cast<std::uint32_t>(x * 7919 + y * 104729) % colours;
    };
    return wolby_test::BmpFile(picture);
}

void BitmapSeeds(const fs::path& folder) {
    Write(folder / "bits1", Bmp(13, 5, 1, false, false));
    Write(folder / "bits4", Bmp(9, 6, 4, false, false));
    Write(folder / "bits8_top_down", Bmp(7, 5, 8, true, false));
    Write(folder / "bits16_rgb555", Bmp(7, 4, 16, false, false));
    Write(folder / "bits16_bitfields", Bmp(7, 4, 16, false, true));
    Write(folder / "bits24", Bmp(11, 7, 24, false, false));
    Write(folder / "bits24_top_down", Bmp(5, 3, 24, true, false));
    Write(folder / "bits32", Bmp(6, 4, 32, false, false));
    Write(folder / "bits32_bitfields", Bmp(6, 4, 32, false, true));
    Write(folder / "core_header_bits24", Bmp(6, 5, 24, false, false, true));
    // Wider than a sheet piece reaches, and too small for any: both get clipped.
    Write(folder / "wide_strip", Bmp(700, 2, 1, false, false));
    Write(folder / "not_a_bitmap", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const fs::path folder = argv[1];
    SettingsSeeds(folder / "settings");
    ExecuteSeeds(folder / "execute");
    BitmapSeeds(folder / "bitmap");
    return 0;
}
