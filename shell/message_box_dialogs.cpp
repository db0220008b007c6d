#include "shell/message_box_dialogs.h"

#include "platform/platform.h"
#include "screens/program_state.h"

namespace {

class MessageBoxes final : public SettingsDialogs {
public:
    bool AskYesNo(const char* text, const char* caption) override {
        return platform::MessageBox(nullptr, text, caption, platform::MB_YESNO) == platform::IDYES;
    }
    void Tell(const char* text, const char* caption) override {
        platform::MessageBox(g_mainWindow, text, caption, platform::MB_OK);
    }
};

}  // namespace

SettingsDialogs& MessageBoxDialogs() {
    static MessageBoxes dialogs;
    return dialogs;
}
