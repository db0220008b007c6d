// What the Windows entry point hands the win32 backend before the game starts.
#pragma once

namespace platform::win32 {

// The show command Windows passed to WinMain; ShowWindow uses it.
void SetShowCommand(int showCommand);

}  // namespace platform::win32
