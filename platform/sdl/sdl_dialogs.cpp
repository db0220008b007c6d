// Real dialogs: SDL's message boxes with the Polish buttons, Enter answering
// the first. A box that cannot be shown writes its caption and text to
// standard error, so a person still learns why the program stops. The process
// that shows a box ends with the program (SIGTERM ends it at any moment).
#include <cstdio>

#include "platform/common/message_box.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_signals.h"
#include "platform/sdl/sdl_state.h"

namespace platform {

int MessageBox(Window owner, const char* text, const char* caption, unsigned type) {
    const common::BoxRequest box(text, caption, type);
    // Enter answers the first button, Escape the last.
    const SDL_MessageBoxButtonData yesNoButtons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Tak"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "Nie"}};
    const SDL_MessageBoxButtonData okButton[1] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    flags |= box.error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = owner ? sdl::S().window : nullptr;
    const SDL_MessageBoxData data{flags,
                                  parent,
                                  box.utf8Caption.c_str(),
                                  box.utf8Text.c_str(),
                                  box.yesNo ? 2 : 1,
                                  box.yesNo ? yesNoButtons : okButton,
                                  nullptr};
    int answer = -1;
    const sdl::DialogProcessesEndWithTheProgram dialogProcesses;
    if (SDL_ShowMessageBox(&data, &answer) != 0) {
        std::fprintf(stderr, "%s: %s\n", box.utf8Caption.c_str(), box.utf8Text.c_str());
        return box.unanswered;
    }
    sdl::S().exposed = true;
    // What the person did to the game while the box showed was meant for the box.
    sdl::DropInput();
    return answer == IDYES || answer == IDNO || answer == IDOK ? answer : box.unanswered;
}

}  // namespace platform
