// The game's start-up, called from the Windows entry point (win32_main.cpp).
#include "shell/win_main.h"

int RunWolby();

int RunWolby() { return WinMain(); }
