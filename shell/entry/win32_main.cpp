// The Windows program's entry point. Windows calls WinMain with the instance,
// the command line and the show command; the game's own WinMain() takes none
// (it reads no command line). This one keeps the show command for the window
// and hands over. The compiler will not have the game's WinMain() declared in
// the same file as Windows' WinMain, so it is called from win32_run.cpp.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/win32/win32_backend.h"

int RunWolby();  // win32_run.cpp

extern "C" int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    platform::win32::SetShowCommand(showCommand);
    return RunWolby();
}
