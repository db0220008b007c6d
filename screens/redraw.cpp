#include "screens/redraw.h"

#include "screens/game_screen.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/screen.h"
#include "shell/animate_credits.h"
#include "shell/globals.h"
#include "shell/sheet.h"

MatchPicture g_matchPicture = {{}, -1};
std::intptr_t g_menuPointer = -1;

namespace {

void RedrawMenu() {
    // DrawMenu forgets the pointer, as the menu it draws shows no marker yet.
    const std::intptr_t pointer = g_menuPointer;
    DrawMenu();
    if (pointer >= 0) OnMouseMove(0, pointer);
}

// In the order the match screen was built (StartMatch), then what the moves
// and the clock drew on it.
void RedrawMatch() {
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    const std::int32_t n = Ask(Command::GetBoardSize);
    for (std::int32_t c = 0; c < n; ++c) {
        for (std::int32_t r = 0; r < n; ++r) {
            DrawPiece(sheet::SquareTile, kBoardLeft + kSquarePitch * c, kBoardTop + kSquarePitch * r);
        }
    }
    DrawStatusTexts();
    if (g_matchPicture.clockSeconds >= 0) DrawClockLine(g_matchPicture.clockSeconds);
    DrawGameFrame();
    for (std::int32_t c = 0; c < 8; ++c) {
        for (std::int32_t r = 0; r < 8; ++r) {
            if (g_matchPicture.squares[c][r] != 0) DrawFinishedDisc(g_matchPicture.squares[c][r], c, r);
        }
    }
    if (g_matchOver) DrawMatchResult();
}

void RedrawCredits() {
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    DrawCreditsStrips();
    DrawCreditsLines();
}

}  // namespace

void ClearMatchPicture() { g_matchPicture = MatchPicture{{}, -1}; }

void NoteDisc(std::int32_t colourSide, std::int32_t column, std::int32_t row) {
    if (column < 0 || column >= 8 || row < 0 || row >= 8) return;
    g_matchPicture.squares[column][row] = colourSide == 1 ? 1 : 2;
}

void RedrawScreen() {
    if (g_primarySurface == nullptr || g_sheetSurface == nullptr) return;
    switch (g_screen) {
        case Screen::Menu: RedrawMenu(); break;
        case Screen::Match: RedrawMatch(); break;
        case Screen::Options: DrawOptions(); break;
        case Screen::Credits: RedrawCredits(); break;
        default: break;
    }
}
