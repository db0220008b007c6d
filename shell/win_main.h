// The program: start-up, then the message loop until the quit message.
#pragma once

// 0 after a start-up failure (each shown in its own message box), 1 after a
// normal end. Reads no command line and no environment.
#if defined(__MINGW32__)
// MinGW's compiler gives any function named WinMain C linkage, which would make
// this one the process's entry, called with Windows' four arguments. It is
// linked under another name there; the real entry (shell/entry/win32_main.cpp)
// calls it.
int WinMain() __asm__("WolbyWinMain");
#else
int WinMain();
#endif
