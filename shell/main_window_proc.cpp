#include "shell/main_window_proc.h"

#include "screens/credits.h"
#include "screens/match.h"
#include "screens/routing.h"
#include "screens/screen.h"

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
        case platform::WM_DESTROY:
            platform::PostQuitMessage(0);
            return 0;
        default:
            return platform::DefWindowProc(window, message, wParam, lParam);
    }
}
