// One save of setting.dat in the current folder, as the game makes it, for
// tests that watch a save from outside (under strace) or run two at once.
// usage: wolby_save_once <colour 1> <colour 2> <board size> <seconds> <humans>
// Exit status: 0 saved without a word, 1 refused with the save's message, 2
// anything else.
#include <cstdlib>

#include "settings/settings.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/platform_files.h"

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const auto value = [argv](int at) { return static_cast<std::int8_t>(std::atoi(argv[at])); };
    Settings settings;
    settings.discColour1 = value(1);
    settings.discColour2 = value(2);
    settings.boardSize = value(3);
    settings.moveSeconds = value(4);
    settings.humanPlayers = value(5);
    wolby_test::ScriptedDialogs dialogs;
    const bool saved = settings.Save(wolby_test::kFiles, dialogs);
    const auto shown = dialogs.TakeShown();
    if (saved && shown.empty()) return 0;
    if (!saved && shown.size() == 1 && shown[0].text == settings_text::kCannotSave) return 1;
    return 2;
}
