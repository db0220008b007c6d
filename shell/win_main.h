// The program: start-up, then the message loop until the quit message.
#pragma once

// 0 after a start-up failure (each shown in its own message box), 1 after a
// normal end. Reads no command line and no environment.
int WinMain();
