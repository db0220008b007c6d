// The game's display as start-up takes it, for tests and benchmarks that draw
// without the whole program: the window class and a desktop-sized window
// (shown), the display object in the game's mode, and the primary surface, in
// the program's globals. Whichever backend the target links provides them.
#pragma once

#include "platform/platform.h"
#include "screens/program_state.h"

namespace wolby_test {

inline std::intptr_t PassOn(platform::Window window, unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) {
    return platform::DefWindowProc(window, message, wParam, lParam);
}

// False at the first call that fails (the globals made so far stay set).
inline bool StartDisplay(platform::WindowProc procedure = &PassOn) {
    platform::RegisterClassEx("Wolby", procedure);
    g_mainWindow = platform::CreateWindowEx("Wolby", "Wolby", 0, 0,
                                            platform::GetSystemMetrics(platform::SM_CXSCREEN),
                                            platform::GetSystemMetrics(platform::SM_CYSCREEN));
    platform::ShowWindow(g_mainWindow);
    return platform::DirectDrawCreate(&g_directDraw) &&
           platform::SetCooperativeLevel(g_directDraw, g_mainWindow,
                                         platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN) &&
           platform::SetDisplayMode(g_directDraw, 800, 600, 16) &&
           platform::CreatePrimarySurface(g_directDraw, &g_primarySurface);
}

}  // namespace wolby_test
