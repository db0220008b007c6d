// The window procedure: every input and every timer tick reaches the game here.
#pragma once

#include <cstdint>

#include "platform/platform.h"

std::intptr_t MainWindowProc(platform::Window window, unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam);
