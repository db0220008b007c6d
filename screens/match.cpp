#include "screens/match.h"

#include <cstdio>

#include "match/game.h"
#include "screens/put_text.h"
#include "screens/screen.h"
#include "screens/sheet.h"

namespace {

constexpr platform::Colour kWhite = 0xFFFFFF;
constexpr platform::Colour kBlack = 0x000000;

// Code page 1250.
constexpr const char* kMoveOfPlayer1 = "Ruch gracza 1";
constexpr const char* kMoveOfPlayer2 = "Ruch gracza 2";
constexpr const char* kTimeLeft = "Pozosta\xB3o %i sek.";
constexpr const char* kPlayer1 = "Gracz 1";
constexpr const char* kPlayer2 = "Gracz 2";
constexpr const char* kCollected = "Zebranych: %i   ";
constexpr const char* kCongratulations = "GRATULACJE!!!";
constexpr const char* kPlayer1Wins = "WYGRANA GRACZA 1!";
constexpr const char* kPlayer2Wins = "WYGRANA GRACZA 2!";
constexpr const char* kDraw = "GRA ZAKO\xD1" "CZONA REMISEM";
constexpr const char* kEscToMenu = "ESC - wyj\x9C" "cie do menu";

std::int32_t SideToMove() { return g_player1ToMove ? 0 : 1; }

platform::Colour ColourOfPlayer(std::int32_t player) {
    return PlayerColour(player, Ask(Command::GetDiscColour, player == 1 ? 0 : 1));
}

// Whether the side has a legal square, asked without touching the pass counters.
bool HasLegalSquare(std::int32_t side) {
    const std::int32_t n = Ask(Command::GetBoardSize);
    for (std::int32_t x = 0; x < n; ++x) {
        for (std::int32_t y = 0; y < n; ++y) {
            if (Ask(Command::TryMove, side, x, y)) return true;
        }
    }
    return false;
}

// The overlay over the disc on the square at (left, top): its black pixels let the disc show through.
void DrawDiscOverlay(std::int32_t left, std::int32_t top) {
    platform::SetColorKey(g_sheetSurface, platform::DDCKEY_SRCBLT, 0, 0);
    const platform::Rect square{left, top, left + kSquareSize, top + kSquareSize};
    platform::Blt(g_primarySurface, &square, g_sheetSurface, &sheet::DiscOverlay,
                  platform::DDBLT_WAIT | platform::DDBLT_KEYSRC | platform::DDBLT_ALPHADEST);
}

void Announce(std::int32_t winner, std::int32_t humans) {
    if (winner != 0 && humans != 0) PutText(kCongratulations, kBlack, kWhite, 300, 200);
    if (winner == 1) PutText(kPlayer1Wins, kBlack, kWhite, 300, 230);
    if (winner == 2) PutText(kPlayer2Wins, kBlack, kWhite, 300, 230);
    if (winner == 0) PutText(kDraw, kBlack, kWhite, 320, 200);
    PutText(kEscToMenu, kBlack, kWhite, 300, 260);
}

}  // namespace

void DrawStatusTexts() {
    const std::int32_t mover = g_player1ToMove ? 1 : 2;
    PutText(mover == 1 ? kMoveOfPlayer1 : kMoveOfPlayer2, kWhite, ColourOfPlayer(mover), 620, 100);

    char line[32];
    const platform::Colour colour1 = ColourOfPlayer(1);
    const platform::Colour colour2 = ColourOfPlayer(2);
    PutText(kPlayer1, colour1, kBlack, 620, 200);
    std::snprintf(line, sizeof line, kCollected, Ask(Command::GetScore, 0));
    PutText(line, colour1, kBlack, 620, 240);
    PutText(kPlayer2, colour2, kBlack, 620, 340);
    std::snprintf(line, sizeof line, kCollected, Ask(Command::GetScore, 1));
    PutText(line, colour2, kBlack, 620, 390);
}

void DrawMatchResult() {
    const std::int32_t s0 = Ask(Command::GetScore, 0);
    const std::int32_t s1 = Ask(Command::GetScore, 1);
    // A side with no discs left loses whatever the other holds.
    const std::int32_t winner = s0 == 0 ? 2 : s1 == 0 ? 1 : s0 > s1 ? 1 : s0 < s1 ? 2 : 0;
    Announce(winner, Ask(Command::GetHumanPlayers));
}

namespace {

// Ends the match when a side has no discs, the board is full, a side has passed
// three times in a row, or nobody can move: the timers stop and the result is
// announced (once; the status is drawn twice per move).
void EndMatchIfDecided() {
    const std::int32_t s0 = Ask(Command::GetScore, 0);
    const std::int32_t s1 = Ask(Command::GetScore, 1);
    const std::int32_t n = Ask(Command::GetBoardSize);
    if (s0 != 0 && s1 != 0 && s0 + s1 < n * n && g_passCount[0] <= 2 && g_passCount[1] <= 2 &&
        !g_noMovesLeft) {
        return;
    }
    platform::KillTimer(g_mainWindow, kComputerMoveTimer);
    platform::KillTimer(g_mainWindow, kMoveClockTimer);
    if (g_matchOver) return;
    g_matchOver = true;
    DrawMatchResult();
}

void ResetPassCounts() {
    g_passCount[0] = 0;
    g_passCount[1] = 0;
}

void CountPass(std::int32_t side) { ++g_passCount[side == 0 ? 0 : 1]; }

}  // namespace

bool PlayedByComputer(std::int32_t side) {
    const std::int32_t humans = Ask(Command::GetHumanPlayers);
    return side == 0 ? humans == 0 : humans <= 1;
}

platform::Colour PlayerColour(std::int32_t player, std::int32_t colourIndex) {
    // The product is taken whole: from index 5 on a colour byte carries into the next.
    const std::uint32_t factor = player == 1 ? 0x140A3Cu : 0x143C0Au;
    return static_cast<std::uint32_t>(colourIndex) * factor;
}

void MakeDiscBrushes() {
    platform::Brush old1 = g_discBrush1;
    platform::Brush old2 = g_discBrush2;
    g_discBrush1 = platform::CreateSolidBrush(ColourOfPlayer(1));
    g_discBrush2 = platform::CreateSolidBrush(ColourOfPlayer(2));
    if (old1 != nullptr) platform::DeleteObject(old1);
    if (old2 != nullptr) platform::DeleteObject(old2);
}

void DrawDisc(std::int32_t colourSide, std::int32_t x, std::int32_t y) {
    const std::int32_t column = (x - kBoardLeft) / kSquarePitch;
    const std::int32_t row = (y - kBoardTop) / kSquarePitch;
    const std::int32_t left = kBoardLeft + kSquarePitch * column;
    const std::int32_t top = kBoardTop + kSquarePitch * row;
    // Noted even when it cannot be drawn now, so a redrawn board shows it.
    if (column >= 0 && column < 8 && row >= 0 && row < 8) {
        g_matchPicture.squares[column][row] = colourSide == 1 ? 1 : 2;
    }

    platform::DrawingContext context = platform::GetDC(g_primarySurface);
    if (context != nullptr) {
        platform::Brush previous =
            platform::SelectObject(context, colourSide == 1 ? g_discBrush1 : g_discBrush2);
        // Six ellipses growing from 30 to 50 pixels, 10 ms apart: the disc is seen growing.
        platform::Rect r{left + 10, top + 10, left + 40, top + 40};
        for (int step = 0; step < 6; ++step) {
            platform::Ellipse(context, r.left, r.top, r.right, r.bottom);
            platform::Sleep(10);
            r = platform::Rect{r.left - 2, r.top - 2, r.right + 2, r.bottom + 2};
        }
        platform::SelectObject(context, previous);
        platform::ReleaseDC(g_primarySurface, context);
    }
    DrawDiscOverlay(left, top);
}

void DrawFinishedDisc(std::int32_t colourSide, std::int32_t column, std::int32_t row) {
    const std::int32_t left = kBoardLeft + kSquarePitch * column;
    const std::int32_t top = kBoardTop + kSquarePitch * row;
    platform::DrawingContext context = platform::GetDC(g_primarySurface);
    if (context != nullptr) {
        platform::Brush previous =
            platform::SelectObject(context, colourSide == 1 ? g_discBrush1 : g_discBrush2);
        platform::Ellipse(context, left, top, left + kSquareSize, top + kSquareSize);
        platform::SelectObject(context, previous);
        platform::ReleaseDC(g_primarySurface, context);
    }
    DrawDiscOverlay(left, top);
}

void DrawMatchStatus() {
    DrawStatusTexts();
    EndMatchIfDecided();
}

void ClockTick() {
    // The seconds shown are those before this tick's change.
    const std::int32_t seconds = g_moveClockMs / 1000;
    if (g_moveClockMs <= 0) {
        // Time is up: the turn passes without a move test.
        g_player1ToMove = g_player1ToMove ? 0 : 1;
        g_moveClockMs = Ask(Command::GetMoveSeconds) * 1000;
    } else {
        g_moveClockMs -= 1000;
    }
    DrawClockLine(seconds);
}

void DrawClockLine(std::int32_t seconds) {
    g_matchPicture.clockSeconds = seconds;
    char line[32];
    std::snprintf(line, sizeof line, kTimeLeft, seconds);
    PutText(line, kWhite, ColourOfPlayer(g_player1ToMove ? 1 : 2), 620, 120);
}

bool SideCanMove(std::int32_t side) {
    if (HasLegalSquare(side)) {
        ResetPassCounts();
        return true;
    }
    CountPass(side);
    return false;
}

void PlayTurnAt(std::int32_t x, std::int32_t y) {
    // Nothing is played after the result.
    if (g_matchOver) return;
    const std::int32_t s = SideToMove();
    const std::int32_t o = 1 - s;
    const std::int32_t n = Ask(Command::GetBoardSize);
    if (x < kBoardLeft || y < kBoardTop) return;
    const std::int32_t c = (x - kBoardLeft) / kSquarePitch;
    if (c >= n) return;
    const std::int32_t r = (y - kBoardTop) / kSquarePitch;
    if (r >= n) return;

    if (!Ask(Command::PlayMove, s, c, r)) return;
    DrawDisc(s + 1, x, y);

    // Every answer refers to the board right after the placement: collect first.
    std::int32_t turned[64][2];
    int count = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            if (count < 64 && Ask(Command::IsEnclosed, c, r, i, j)) {
                turned[count][0] = i;
                turned[count][1] = j;
                ++count;
            }
        }
    }
    for (int k = 0; k < count; ++k) {
        Ask(Command::TurnDisc, turned[k][0], turned[k][1], s);
        DrawDisc(s + 1, kBoardLeft + kSquarePitch * turned[k][0],
                 kBoardTop + kSquarePitch * turned[k][1]);
    }

    DrawMatchStatus();
    if (SideCanMove(o)) {
        g_player1ToMove = o == 0 ? 1 : 0;
        const std::int32_t seconds = Ask(Command::GetMoveSeconds);
        if (seconds > 0) {
            g_moveClockMs = seconds * 1000;
            ClockTick();
        }
        if (PlayedByComputer(o)) platform::SetTimer(g_mainWindow, kComputerMoveTimer, 500);
    } else {
        // The other side passes and the mover keeps the turn; if the mover cannot
        // move either, nobody ever can, and the match ends with the scores.
        if (!HasLegalSquare(s)) g_noMovesLeft = true;
        if (PlayedByComputer(s)) platform::SetTimer(g_mainWindow, kComputerMoveTimer, 500);
    }
    DrawMatchStatus();
}

void PlayComputerMove(std::int32_t side) {
    const std::int32_t column = Ask(Command::AskMove, side, 0);
    const std::int32_t row = Ask(Command::AskMove, side, 1);
    PlayTurnAt(kBoardLeft + kSquarePitch * column, kBoardTop + kSquarePitch * row);
}

namespace {

void DrawFrame() {
    const std::int32_t w = ScreenWidth();
    const std::int32_t h = ScreenHeight();
    for (std::int32_t x = 0; x < w; x += 50) {
        for (std::int32_t y = 0; y < h; y += 50) {
            // x = h - 50 closes the square field at the left that holds the board.
            if (x < 50 || x == h - 50 || x == w - 50 || y < 50 || y == h - 50) {
                DrawPiece(sheet::GameFrameTile, x, y);
            }
        }
    }
}

}  // namespace

void StartMatch() {
    Ask(Command::NewMatch);
    g_player1ToMove = 1;
    MakeDiscBrushes();
    ResetPassCounts();
    g_matchOver = false;
    g_noMovesLeft = false;
    g_screen = Screen::Match;
    g_humanPlayers = Ask(Command::GetHumanPlayers);
    g_matchPicture = MatchPicture{{}, -1};
    PaintBlack(0, 0, 640, 480);

    const std::int32_t n = Ask(Command::GetBoardSize);
    for (std::int32_t c = 0; c < n; ++c) {
        for (std::int32_t r = 0; r < n; ++r) {
            DrawPiece(sheet::SquareTile, kBoardLeft + kSquarePitch * c, kBoardTop + kSquarePitch * r);
        }
    }
    DrawMatchStatus();
    DrawFrame();

    const std::int32_t v = n / 2;
    for (std::int32_t c = v - 1; c <= v; ++c) {
        for (std::int32_t r = v - 1; r <= v; ++r) {
            DrawDisc(c == r ? 1 : 2, kBoardLeft + kSquarePitch * c, kBoardTop + kSquarePitch * r);
        }
    }

    if (Ask(Command::GetHumanPlayers) <= 0) platform::SetTimer(g_mainWindow, kComputerMoveTimer, 500);
    const std::int32_t seconds = Ask(Command::GetMoveSeconds);
    if (seconds > 0 && Ask(Command::GetHumanPlayers) != 0) {
        g_moveClockMs = seconds * 1000;
        platform::SetTimer(g_mainWindow, kMoveClockTimer, 1000);
    }
}

void MoveClockStep() {
    ClockTick();
    // With one human against the computer, the computer's move is started when
    // its clock has one second left (its turn may have come by a timeout). Only
    // on the computer's turn: a human's move is never played for the person.
    const bool computerToMove = g_player1ToMove ? g_humanPlayers == 0 : g_humanPlayers <= 1;
    if (g_moveClockMs == 1000 && g_humanPlayers <= 1 && computerToMove) {
        platform::SetTimer(g_mainWindow, kComputerMoveTimer, 500);
    }
    DrawMatchStatus();
}

void ComputerMoveStep() {
    platform::KillTimer(g_mainWindow, kComputerMoveTimer);
    // The clock may have handed the turn back to the person while this tick was
    // pending; a person's "choice" is no move of theirs, so nothing is played.
    const std::int32_t side = g_player1ToMove ? 0 : 1;
    if (PlayedByComputer(side)) PlayComputerMove(side);
}

void RedrawMatch() {
    // In the order StartMatch builds the screen, then what the moves and the
    // clock drew on it.
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    const std::int32_t n = Ask(Command::GetBoardSize);
    for (std::int32_t c = 0; c < n; ++c) {
        for (std::int32_t r = 0; r < n; ++r) {
            DrawPiece(sheet::SquareTile, kBoardLeft + kSquarePitch * c, kBoardTop + kSquarePitch * r);
        }
    }
    DrawStatusTexts();
    if (g_matchPicture.clockSeconds >= 0) DrawClockLine(g_matchPicture.clockSeconds);
    DrawFrame();
    for (std::int32_t c = 0; c < 8; ++c) {
        for (std::int32_t r = 0; r < 8; ++r) {
            if (g_matchPicture.squares[c][r] != 0) DrawFinishedDisc(g_matchPicture.squares[c][r], c, r);
        }
    }
    if (g_matchOver) DrawMatchResult();
}
