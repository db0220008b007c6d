#include "screens/routing.h"

#include "screens/credits.h"
#include "screens/match.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/screen.h"

using platform::PointX;
using platform::PointY;

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

void OnMouseMove(std::uintptr_t, std::intptr_t lParam) {
    if (g_screen == Screen::Menu) MenuPointerMoved(PointX(lParam), PointY(lParam));
}

void OnLeftButtonDown(std::uintptr_t, std::intptr_t lParam) {
    const std::int32_t x = PointX(lParam) + kClickOffset;
    const std::int32_t y = PointY(lParam);
    switch (g_screen) {
        case Screen::Menu: MenuClick(x, y); break;
        case Screen::Match: {
            const std::int32_t humans = Ask(Command::GetHumanPlayers);
            if (humans == 2 || (humans == 1 && g_player1ToMove)) PlayTurnAt(x, y);
            break;
        }
        case Screen::Options: OptionsClick(x, y); break;
        default: break;
    }
}

void ReturnToMenu() {
    g_screen = Screen::Menu;
    DrawMenu();
    platform::KillTimer(g_mainWindow, kComputerMoveTimer);
    platform::KillTimer(g_mainWindow, kMoveClockTimer);
    platform::KillTimer(g_mainWindow, kCreditsTimer);
}
