#include "match/game.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "players/computer_player.h"
#include "players/human_player.h"
#include "tests/support/board_lists.h"
#include "tests/support/byte_file.h"
#include "tests/support/file_test.h"
#include "tests/support/platform_files.h"

namespace {

namespace fs = std::filesystem;
using wolby_test::Bytes;
using wolby_test::ReadBytes;

std::int32_t Exec(Game& game, Command op, std::int32_t a1 = 0, std::int32_t a2 = 0,
                  std::int32_t a3 = 0, std::int32_t a4 = 0) {
    return game.Execute(PackCommand(op, a1, a2, a3, a4, 0));
}

template <typename Kind>
bool Is(const std::unique_ptr<Player>& player) {
    return dynamic_cast<Kind*>(player.get()) != nullptr;
}

class GameTest : public test_support::FileTest {
protected:
    // Writes a settings file with these values and starts the game from it.
    void Start(Game& game, int colour1, int colour2, int size, int seconds, int humans) {
        Settings s;
        s.discColour1 = static_cast<std::int8_t>(colour1);
        s.discColour2 = static_cast<std::int8_t>(colour2);
        s.boardSize = static_cast<std::int8_t>(size);
        s.moveSeconds = static_cast<std::int8_t>(seconds);
        s.humanPlayers = static_cast<std::int8_t>(humans);
        ASSERT_TRUE(s.Save(wolby_test::kFiles, dialogs));
        ASSERT_TRUE(game.Init(wolby_test::kFiles, dialogs));
        EXPECT_TRUE(dialogs.TakeShown().empty());
    }
};

void ExpectEveryCommandAnswersZero(Game& game) {
    for (std::int32_t op = 0; op <= 17; ++op) {
        for (const std::int32_t a : {0, 1, 3, 9}) {
            EXPECT_EQ(game.Execute(PackCommand(op, a, a, a, a, 0)), 0) << op << " " << a;
        }
    }
}

TEST_F(GameTest, WithoutASuccessfulInitEveryCommandAnswersZero) {
    ExpectEveryCommandAnswersZero(g_game);  // nobody starts g_game here

    Game game;
    ExpectEveryCommandAnswersZero(game);

    dialogs.Answer(false);
    EXPECT_FALSE(game.Init(wolby_test::kFiles, dialogs));
    EXPECT_EQ(dialogs.TakeShown().size(), 1u);
    EXPECT_FALSE(game.player1 || game.player2 || game.board);
    ExpectEveryCommandAnswersZero(game);
    EXPECT_FALSE(fs::exists(Settings::kFileName))
        << "SaveSettings wrote a file it had no values for";
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

TEST_F(GameTest, InitWithTheDefaultsAnswered) {
    dialogs.Answer(true);
    Game game;
    ASSERT_TRUE(game.Init(wolby_test::kFiles, dialogs));
    EXPECT_EQ(dialogs.TakeShown().size(), 1u);
    EXPECT_EQ(game.Execute(0), 6);
    EXPECT_EQ(Exec(game, Command::GetMoveSeconds), 0);
    EXPECT_EQ(Exec(game, Command::GetHumanPlayers), 2);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 0), 1);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 1), 2);
    EXPECT_TRUE(Is<HumanPlayer>(game.player1) && Is<HumanPlayer>(game.player2));
    ASSERT_TRUE(game.board);
    EXPECT_EQ(*game.board, Board(6));
}

TEST_F(GameTest, InitTakesTheFileAndBuildsPlayersAndBoardFromIt) {
    Game game;
    Start(game, 3, 4, 8, 5, 1);
    EXPECT_EQ(game.Execute(0), 8);
    EXPECT_EQ(Exec(game, Command::GetMoveSeconds), 5);
    EXPECT_EQ(Exec(game, Command::GetHumanPlayers), 1);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 0), 3);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 7), 4);
    EXPECT_TRUE(Is<HumanPlayer>(game.player1));
    EXPECT_TRUE(Is<ComputerPlayer>(game.player2));
    EXPECT_EQ(*game.board, Board(8));
}

TEST_F(GameTest, AMoveIsPlayedTurnedAndScored) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    // side0 (2,2) (3,3); side1 (3,2) (2,3).
    EXPECT_EQ(Exec(game, Command::PlayMove, 0, 0, 0), 0) << "an illegal square";
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 2);
    EXPECT_EQ(Exec(game, Command::PlayMove, 0, 4, 2), 1);
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 3);
    EXPECT_EQ(Exec(game, Command::CountDiscs, 0), 3);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 2) << "the enclosed disc is not turned yet";

    EXPECT_EQ(Exec(game, Command::IsEnclosed, 4, 2, 3, 2), 1);
    EXPECT_EQ(Exec(game, Command::IsEnclosed, 4, 2, 2, 3), 0);
    EXPECT_EQ(Exec(game, Command::TurnDisc, 3, 2, 0), 0) << "TurnDisc answers 0 though it turned";
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 4);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 1);
    EXPECT_EQ(Exec(game, Command::CountDiscs, 9), 1) << "any digit but 0 is side 1";

    // Player 2 addressed with the digit 3: (4,1) encloses (3,2) against (2,3).
    EXPECT_EQ(Exec(game, Command::PlayMove, 3, 4, 1), 1);
    EXPECT_NE(game.board->side1.Find(Position(4, 1)), PieceList::NotFound);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 2);
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 4);
}

TEST_F(GameTest, TheUnitsDigitChangesNothing) {
    Game plain, withUnits;
    Start(plain, 1, 2, 6, 0, 2);
    ASSERT_TRUE(withUnits.Init(wolby_test::kFiles, dialogs));
    // Player 2 at column 3, row 4: legal on the opening board.
    EXPECT_EQ(plain.Execute(113400), 1);
    EXPECT_EQ(withUnits.Execute(113401), 1);
    EXPECT_EQ(*plain.board, *withUnits.board);
    EXPECT_NE(plain.board->side1.Find(Position(3, 4)), PieceList::NotFound);
}

TEST_F(GameTest, TryMoveLeavesTheMatchBoardAsItWas) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    const Board before = *game.board;
    EXPECT_EQ(Exec(game, Command::TryMove, 0, 4, 2), 1);
    EXPECT_EQ(*game.board, before);
    EXPECT_EQ(game.scratchBoard.side0.Count(), 3) << "the trial is played on the scratch board";
    EXPECT_EQ(Exec(game, Command::TryMove, 0, 0, 0), 0);
    EXPECT_EQ(Exec(game, Command::TryMove, 3, 3, 4), 1) << "digit 3 is side 1";
    EXPECT_EQ(Exec(game, Command::TryMove, 3, 4, 2), 0) << "a square of side 0 only";
    EXPECT_EQ(*game.board, before);
}

TEST_F(GameTest, AskMoveAnswersTheChosenSquareOneCoordinateAtATime) {
    Game humans;
    Start(humans, 1, 2, 6, 0, 2);
    for (const std::int32_t player : {0, 1, 3}) {
        EXPECT_EQ(Exec(humans, Command::AskMove, player, 0), 0);
        EXPECT_EQ(Exec(humans, Command::AskMove, player, 1), 0);
    }

    Game computers;
    Start(computers, 1, 2, 6, 0, 0);
    const Board before = *computers.board;
    for (const std::int32_t player : {0, 3}) {
        const std::int32_t x = Exec(computers, Command::AskMove, player, 0);
        const std::int32_t y = Exec(computers, Command::AskMove, player, 1);
        EXPECT_EQ(Exec(computers, Command::TryMove, player, x, y), 1)
            << player << ": " << x << "," << y;
    }
    EXPECT_EQ(*computers.board, before);
    // The size passed follows the setting at once: no legal square lies within
    // three columns and rows, so the answer is (0, 0).
    Exec(computers, Command::SetBoardSize, 3);
    EXPECT_EQ(Exec(computers, Command::AskMove, 0, 0), 0);
    EXPECT_EQ(Exec(computers, Command::AskMove, 0, 1), 0);
}

TEST_F(GameTest, AskMoveAsksThePlayerOfTheSideAndAnyOtherDigitAsksTheRow) {
    Game game;
    Start(game, 1, 2, 6, 0, 1);  // player 1 a person, player 2 the computer
    EXPECT_EQ(Exec(game, Command::AskMove, 0, 0), 0) << "a person's choice is (0, 0)";
    EXPECT_EQ(Exec(game, Command::AskMove, 0, 1), 0);
    const std::int32_t x = Exec(game, Command::AskMove, 1, 0);
    const std::int32_t y = Exec(game, Command::AskMove, 1, 1);
    EXPECT_EQ(Exec(game, Command::TryMove, 1, x, y), 1) << "the computer chose for player 2";
    // Player 2's opening squares all have a column other than their row.
    ASSERT_NE(x, y);
    for (std::int32_t which = 2; which <= 9; ++which) {
        EXPECT_EQ(Exec(game, Command::AskMove, 1, which), y) << which;
    }
}

TEST_F(GameTest, ASquareOffTheBoardIsRefusedLikeAnIllegalOne) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    // (6, 2), one column past the edge, would close (5, 2) against (4, 2).
    game.board->side1.Add(Position(5, 2));
    game.board->side0.Add(Position(4, 2));
    const Board before = *game.board;
    EXPECT_EQ(Exec(game, Command::TryMove, 0, 6, 2), 0);
    EXPECT_EQ(Exec(game, Command::PlayMove, 0, 6, 2), 0);
    EXPECT_EQ(*game.board, before);
    // The edge is where the settings put it at the moment.
    Exec(game, Command::SetBoardSize, 7);
    EXPECT_EQ(Exec(game, Command::TryMove, 0, 6, 2), 1);
    EXPECT_EQ(Exec(game, Command::PlayMove, 0, 6, 2), 1);
}

TEST_F(GameTest, ATurnNeverMakesADiscAppearOrVanish) {
    Game game;
    Start(game, 1, 2, 8, 0, 2);
    Exec(game, Command::SetBoardSize, 9);
    Exec(game, Command::NewMatch);
    // A square nobody holds, turned again and again: no disc comes of it.
    for (int i = 0; i < 62; ++i) Exec(game, Command::TurnDisc, 9, 9, 0);
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 2);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 2);
    Exec(game, Command::TurnDisc, 4, 3, 0);
    EXPECT_EQ(Exec(game, Command::GetScore, 0), 3);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 1);
    // Player 1's list is full: player 2's disc stays player 2's.
    *game.board = FullListPosition();
    Exec(game, Command::TurnDisc, 1, 0, 0);
    EXPECT_EQ(Exec(game, Command::GetScore, 0), PieceList::Capacity);
    EXPECT_EQ(Exec(game, Command::GetScore, 1), 1);
}

TEST_F(GameTest, IsEnclosedUsesTheBoardSizeOfTheMoment) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    ASSERT_EQ(Exec(game, Command::PlayMove, 0, 4, 2), 1);
    Exec(game, Command::SetBoardSize, 3);  // (3,2) is now past the edge
    EXPECT_EQ(Exec(game, Command::IsEnclosed, 4, 2, 3, 2), 0);
    Exec(game, Command::SetBoardSize, 6);
    EXPECT_EQ(Exec(game, Command::IsEnclosed, 4, 2, 3, 2), 1);
}

TEST_F(GameTest, SettersLiveInMemoryUntilSaved) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    const Bytes saved = ReadBytes(Settings::kFileName);

    EXPECT_EQ(Exec(game, Command::SetBoardSize, 8), 0);
    EXPECT_EQ(Exec(game, Command::SetHumanPlayers, 1), 0);
    EXPECT_EQ(Exec(game, Command::SetMoveSeconds, 9), 0);
    EXPECT_EQ(Exec(game, Command::SetDiscColour, 3, 7), 0);
    EXPECT_EQ(Exec(game, Command::SetDiscColour, 0, 5), 0);
    EXPECT_EQ(game.Execute(0), 8);
    EXPECT_EQ(Exec(game, Command::GetHumanPlayers), 1);
    EXPECT_EQ(Exec(game, Command::GetMoveSeconds), 9);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 0), 5);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 1), 7);
    // Players and board wait for the next match.
    EXPECT_EQ(*game.board, Board(6));
    EXPECT_TRUE(Is<HumanPlayer>(game.player2));
    EXPECT_EQ(ReadBytes(Settings::kFileName), saved);

    EXPECT_EQ(Exec(game, Command::SaveSettings), 0);
    EXPECT_EQ(ReadBytes(Settings::kFileName),
              (Bytes{0x90, 0xE1, 0x40, 0x00, 5, 7, 8, 9, 1, 0, 0, 0}));

    Game restarted;
    ASSERT_TRUE(restarted.Init(wolby_test::kFiles, dialogs));
    EXPECT_EQ(restarted.Execute(0), 8);
    EXPECT_EQ(Exec(restarted, Command::GetHumanPlayers), 1);
    EXPECT_EQ(Exec(restarted, Command::GetMoveSeconds), 9);
    EXPECT_EQ(Exec(restarted, Command::GetDiscColour, 0), 5);
    EXPECT_EQ(Exec(restarted, Command::GetDiscColour, 1), 7);
}

TEST_F(GameTest, NewMatchBuildsPlayersAndBoardFromTheCurrentSettings) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    ASSERT_EQ(Exec(game, Command::PlayMove, 0, 4, 2), 1);
    struct Case {
        int humans;
        bool firstHuman, secondHuman;
    };
    // More than two humans (a setter stores any digit) play as two.
    for (const Case c :
         {Case{0, false, false}, Case{1, true, false}, Case{2, true, true}, Case{9, true, true}}) {
        Exec(game, Command::SetHumanPlayers, c.humans);
        EXPECT_EQ(Exec(game, Command::NewMatch), 0);
        EXPECT_EQ(Is<HumanPlayer>(game.player1), c.firstHuman) << c.humans;
        EXPECT_EQ(Is<ComputerPlayer>(game.player1), !c.firstHuman) << c.humans;
        EXPECT_EQ(Is<HumanPlayer>(game.player2), c.secondHuman) << c.humans;
        EXPECT_EQ(Is<ComputerPlayer>(game.player2), !c.secondHuman) << c.humans;
        EXPECT_EQ(*game.board, Board(6)) << "a fresh board";
    }
    EXPECT_EQ(Exec(game, Command::GetHumanPlayers), 9) << "the setting itself is kept";
    Exec(game, Command::SetBoardSize, 5);
    Exec(game, Command::NewMatch);
    EXPECT_EQ(*game.board, Board(5));
}

TEST_F(GameTest, SaveSettingsAnswersZeroWhenTheFileCannotBeWritten) {
    Game game;
    Start(game, 1, 2, 6, 0, 2);
    // A folder holding something took the file's place: nothing can replace it.
    fs::remove(Settings::kFileName);
    fs::create_directories(fs::path(Settings::kFileName) / "inside");
    Exec(game, Command::SetBoardSize, 8);
    EXPECT_EQ(Exec(game, Command::SaveSettings), 0);
    EXPECT_EQ(dialogs.TakeShown().size(), 1u);
    EXPECT_TRUE(fs::is_directory(fs::path(Settings::kFileName) / "inside"));
}

TEST_F(GameTest, CodesOutsideTheVocabularyChangeNothing) {
    Game game;
    Start(game, 3, 4, 7, 5, 1);
    ASSERT_EQ(Exec(game, Command::PlayMove, 0, 4, 2), 1);
    const Board before = *game.board;
    Player* const first = game.player1.get();
    for (const std::int32_t code :
         {1700000, 1799999, 9900000, INT_MAX, -100000, -1400000, INT_MIN}) {
        EXPECT_EQ(game.Execute(code), 0) << code;
    }
    EXPECT_EQ(*game.board, before);
    EXPECT_EQ(game.player1.get(), first);
    EXPECT_EQ(game.Execute(0), 7);
    EXPECT_EQ(game.Execute(-5), 7) << "a small negative code is opcode 0";
    EXPECT_EQ(Exec(game, Command::GetMoveSeconds), 5);
    EXPECT_EQ(Exec(game, Command::GetHumanPlayers), 1);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 0), 3);
    EXPECT_EQ(Exec(game, Command::GetDiscColour, 1), 4);
}

std::vector<std::string> g_destroyed;

struct LoggedSettings : Settings {
    ~LoggedSettings() override { g_destroyed.push_back("settings"); }
};
struct LoggedPlayer : Player {
    explicit LoggedPlayer(std::string n) : name(std::move(n)) {}
    ~LoggedPlayer() override { g_destroyed.push_back(name); }
    std::string name;
};
struct LoggedBoard : Board {
    LoggedBoard() : Board(6) {}
    ~LoggedBoard() override { g_destroyed.push_back("board"); }
};

void FillWithLoggedParts(Game& game) {
    game.settings = std::make_unique<LoggedSettings>();
    game.player1 = std::make_unique<LoggedPlayer>("player1");
    game.player2 = std::make_unique<LoggedPlayer>("player2");
    game.board = std::make_unique<LoggedBoard>();
}

TEST(GameLifetimeTest, PartsAreDeletedInTheirOrder) {
    g_destroyed.clear();
    {
        Game game;
        FillWithLoggedParts(game);
    }
    EXPECT_EQ(g_destroyed, (std::vector<std::string>{"settings", "player1", "player2", "board"}));

    g_destroyed.clear();
    Game game;
    FillWithLoggedParts(game);
    Exec(game, Command::NewMatch);
    EXPECT_EQ(g_destroyed, (std::vector<std::string>{"player1", "player2", "board"}))
        << "a new match keeps the settings";
}

bool ListsInCapacity(const Game& game) {
    for (const Board* b : {static_cast<const Board*>(game.board.get()), &game.scratchBoard}) {
        for (const PieceList* list : {&b->side0, &b->side1}) {
            if (list->count < 0 || list->count > PieceList::Capacity) return false;
        }
    }
    return true;
}

int Discs(const Game& game) { return game.board->CountDiscs(0) + game.board->CountDiscs(1); }

// Carries out the code and checks what no code may do to the match object: lose
// a part, overfill a list, or make a disc appear other than by a move placed on
// the board (or a new match), or vanish.
::testing::AssertionResult KeepsTheMatchWhole(Game& game, std::int32_t code) {
    const int before = Discs(game);
    const std::int32_t answer = game.Execute(code);
    if (!(game.settings && game.player1 && game.player2 && game.board)) {
        return ::testing::AssertionFailure() << code << " lost a part of the match";
    }
    if (!ListsInCapacity(game)) return ::testing::AssertionFailure() << code << " overfilled a list";
    const DecodedCommand c = DecodeCommand(code);
    if (c.op == static_cast<std::int32_t>(Command::NewMatch)) return ::testing::AssertionSuccess();
    const bool move = c.op == static_cast<std::int32_t>(Command::PlayMove);
    const int placed = move ? answer : 0;
    if (Discs(game) != before + placed) {
        return ::testing::AssertionFailure() << code << " took the discs from " << before << " to "
                                             << Discs(game) << " and answered " << answer;
    }
    const std::int32_t size = game.settings->BoardSize();
    if (placed != 0 && (c.a2 >= size || c.a3 >= size)) {
        return ::testing::AssertionFailure() << code << " placed a disc off the board of " << size;
    }
    return ::testing::AssertionSuccess();
}

// Every command with every digit, on a full list and amid new matches, then any
// 32-bit code: the sanitizer build catches what an assertion cannot (a write
// past a list, a null player, an overflow while decoding).
TEST_F(GameTest, EveryCodeIsSafe) {
    Game game;
    Start(game, 1, 2, 8, 0, 0);
    // A setter can give a board larger than the lists were made for; on it, a
    // list can fill up.
    Exec(game, Command::SetBoardSize, 9);
    Exec(game, Command::NewMatch);
    *game.board = FullListPosition();
    ASSERT_TRUE(KeepsTheMatchWhole(game, PackCommand(Command::PlayMove, 0, 0, 0, 0, 0)));
    ASSERT_TRUE(KeepsTheMatchWhole(game, PackCommand(Command::TurnDisc, 1, 0, 0, 0, 0)));
    EXPECT_EQ(Exec(game, Command::GetScore, 0), PieceList::Capacity);

    const auto sweep = [&game](bool withNewMatches) {
        for (std::int32_t digits = 0; digits < 10000; ++digits) {
            for (std::int32_t op = 0; op <= 16; ++op) {
                if (op == static_cast<std::int32_t>(Command::SaveSettings))
                    continue;  // a file each
                if (op == static_cast<std::int32_t>(Command::NewMatch) && !withNewMatches) continue;
                ASSERT_TRUE(KeepsTheMatchWhole(game, op * 100000 + digits * 10));
            }
        }
    };
    sweep(false);
    sweep(true);

    std::uint32_t state = 12345;
    for (int i = 0; i < 100000; ++i) {
        state = state * 1664525u + 1013904223u;
        ASSERT_TRUE(KeepsTheMatchWhole(game, static_cast<std::int32_t>(state)));
    }
    for (const std::int32_t code : {INT_MIN, INT_MIN + 1, -1, INT_MAX, INT_MAX - 9, 1699999}) {
        EXPECT_TRUE(KeepsTheMatchWhole(game, code));
    }
}

}  // namespace
