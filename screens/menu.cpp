#include "screens/menu.h"

#include "match/game.h"
#include "screens/game_screen.h"
#include "screens/options.h"
#include "screens/redraw.h"
#include "screens/screen.h"
#include "shell/globals.h"
#include "shell/sheet.h"

namespace {

constexpr int kItems = 4;
constexpr std::int32_t kItemHeight = 50;

std::int32_t PictureLeft() { return ScreenWidth() / 2 - 160; }
std::int32_t PictureRight() { return ScreenWidth() / 2 + 160; }
// Top of the first item's band: 120 pixels below the picture's top.
std::int32_t FirstItemTop() { return ScreenHeight() / 2 - 130; }

// The item (1 to 4) whose band holds the point, strictly inside; 0 for none.
int ItemAt(std::int32_t x, std::int32_t y) {
    if (!(PictureLeft() < x && x < PictureRight())) return 0;
    for (int item = 1; item <= kItems; ++item) {
        const std::int32_t top = FirstItemTop() + kItemHeight * (item - 1);
        if (top < y && y < top + kItemHeight) return item;
    }
    return 0;
}

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

void ExitProgram() {
    Ask(Command::SaveSettings);
    platform::PostQuitMessage(0);
}

}  // namespace

void DrawGameFrame() { DrawFrame(); }

void DrawMenu() {
    g_menuPointer = -1;
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    DrawPiece(sheet::MenuPicture, ScreenWidth() / 2 - 160, ScreenHeight() / 2 - 250);
}

void OnMouseMove(std::uintptr_t, std::intptr_t lParam) {
    if (g_screen != Screen::Menu) return;
    const auto x = static_cast<std::int32_t>(lParam & 0xFFFF);
    const auto y = static_cast<std::int32_t>((lParam >> 16) & 0xFFFF);
    g_menuPointer = lParam;
    // Erase the markers of all four items, then draw the one under the pointer.
    PaintBlack(PictureLeft(), FirstItemTop(), PictureLeft() + 50, FirstItemTop() + kItemHeight * kItems);
    const int item = ItemAt(x, y);
    if (item != 0) DrawPiece(sheet::MenuMarker, PictureLeft(), FirstItemTop() + kItemHeight * (item - 1));
}

void OnLeftButtonDown(std::uintptr_t, std::intptr_t lParam) {
    const auto x = static_cast<std::int32_t>(lParam & 0xFFFF) + kClickOffset;
    const auto y = static_cast<std::int32_t>((lParam >> 16) & 0xFFFF);
    switch (g_screen) {
        case Screen::Menu:
            switch (ItemAt(x, y)) {
                case 1: StartMatch(); break;
                case 2:
                    g_screen = Screen::Options;
                    DrawOptions();
                    break;
                case 3: ShowCredits(); break;
                case 4: ExitProgram(); break;
                default: break;
            }
            break;
        case Screen::Match: {
            const std::int32_t humans = Ask(Command::GetHumanPlayers);
            if (humans == 2 || (humans == 1 && g_player1ToMove)) PlayTurnAt(x, y);
            break;
        }
        case Screen::Options: OptionsClick(x, y); break;
        default: break;
    }
}

void StartMatch() {
    Ask(Command::NewMatch);
    g_player1ToMove = 1;
    MakeDiscBrushes();
    g_passCount[0] = 0;
    g_passCount[1] = 0;
    g_matchOver = false;
    g_noMovesLeft = false;
    g_screen = Screen::Match;
    g_humanPlayers = Ask(Command::GetHumanPlayers);
    ClearMatchPicture();
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

void ShowCredits() {
    g_screen = Screen::Credits;
    DrawCreditsStrips();
    platform::SetTimer(g_mainWindow, kCreditsTimer, 50);
}

void DrawCreditsStrips() {
    PaintBlack(0, 0, 640, 480);
    const platform::Rect left{0, 0, 100, 600};
    const platform::Rect right{ScreenWidth() - 100, 0, ScreenWidth(), 600};
    platform::Blt(g_primarySurface, &left, g_sheetSurface, &sheet::CreditsStrip, platform::DDBLT_WAIT);
    platform::Blt(g_primarySurface, &right, g_sheetSurface, &sheet::CreditsStrip, platform::DDBLT_WAIT);
}
