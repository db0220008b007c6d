#include "shell/main_window_proc.h"

#include "screens/credits.h"
#include "screens/match.h"
#include "screens/routing.h"
#include "screens/screen.h"
#include "shell/activation.h"

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
