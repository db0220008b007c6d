#include "shell/main_window_proc.h"

#include "screens/game_screen.h"
#include "screens/menu.h"
#include "screens/screen.h"
#include "shell/activation.h"
#include "shell/animate_credits.h"
#include "shell/globals.h"

namespace {

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

void ReturnToMenu() {
    g_screen = Screen::Menu;
    DrawMenu();
    platform::KillTimer(g_mainWindow, kComputerMoveTimer);
    platform::KillTimer(g_mainWindow, kMoveClockTimer);
    platform::KillTimer(g_mainWindow, kCreditsTimer);
}

}  // namespace

std::intptr_t MainWindowProc(platform::Window window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    switch (message) {
        case platform::WM_TIMER:
            if (wParam == kMoveClockTimer) MoveClockStep();
            else if (wParam == kComputerMoveTimer) ComputerMoveStep();
            else if (wParam == kCreditsTimer) AnimateCredits();
            return 0;
        case platform::WM_MOUSEMOVE:
            OnMouseMove(wParam, lParam);
            return 0;
        case platform::WM_LBUTTONDOWN:
            OnLeftButtonDown(wParam, lParam);
            return 0;
        case platform::WM_KEYDOWN:
            if (wParam == platform::VK_ESCAPE) ReturnToMenu();
            return 0;
        case platform::WM_ACTIVATEAPP:
            OnActivateApp(wParam != 0);
            return 0;
        case platform::WM_PAINT:
            OnPaint(window);
            return 0;
        case platform::WM_SETCURSOR:
            // Another program may have changed the pointer; over the game it is the fork.
            platform::SetCursor(platform::LoadCursor(platform::kForkCursor));
            return 1;
        case platform::WM_DESTROY:
            platform::PostQuitMessage(0);
            return 0;
        default:
            return platform::DefWindowProc(window, message, wParam, lParam);
    }
}
