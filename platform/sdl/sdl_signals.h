// How the program ends when it is told to (SIGTERM, SIGINT), and how the
// processes that show its dialogs end with it.
#pragma once

namespace platform::sdl {

// While one lives, a process the program starts (SDL forks one to show a
// message box on X11, and runs zenity on Wayland) is ended by the system when
// the program ends, however it ends.
class DialogProcessesEndWithTheProgram {
public:
    DialogProcessesEndWithTheProgram();
    ~DialogProcessesEndWithTheProgram();
    DialogProcessesEndWithTheProgram(const DialogProcessesEndWithTheProgram&) = delete;
    DialogProcessesEndWithTheProgram& operator=(const DialogProcessesEndWithTheProgram&) = delete;
};

}  // namespace platform::sdl
