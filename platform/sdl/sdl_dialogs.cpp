// Real dialogs: SDL's message boxes with the Polish buttons, Enter answering
// the first. A box that cannot be shown writes its caption and text to
// standard error, so a person still learns why the program stops. The process
// that shows a box ends with the program (SIGTERM ends it at any moment).
#include <cstdio>
#include <string>

#include "platform/common/text.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_state.h"

namespace platform {

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    const bool yesNo = (type & 0xF) == MB_YESNO;
    const int fallback = yesNo ? IDNO : IDOK;
    const std::string utf8Text = common::Cp1250ToUtf8(text ? text : "");
    const std::string utf8Caption = common::Cp1250ToUtf8(caption ? caption : "");
    // Enter answers the first button, Escape the last.
    const SDL_MessageBoxButtonData yesNoButtons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Tak"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "Nie"}};
    const SDL_MessageBoxButtonData okButton[1] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    flags |= (type & MB_ICONHAND) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = owner ? sdl::S().window : nullptr;
    const SDL_MessageBoxData data{flags,
                                  parent,
                                  utf8Caption.c_str(),
                                  utf8Text.c_str(),
                                  yesNo ? 2 : 1,
                                  yesNo ? yesNoButtons : okButton,
                                  nullptr};
    int answer = -1;
    const sdl::DialogProcessesEndWithTheProgram dialogProcesses;
    if (SDL_ShowMessageBox(&data, &answer) != 0) {
        std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
        return fallback;
    }
    sdl::S().exposed = true;
    // What the person did to the game while the box showed was meant for the box.
    sdl::DropInput();
    return answer == IDYES || answer == IDNO || answer == IDOK ? answer : fallback;
}

}  // namespace platform
