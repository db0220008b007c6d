// Writes the default settings file as the game itself saves it, into the given
// folder: the launcher puts a copy into a new player's folder, so the first
// start opens on the menu instead of asking about missing settings.
// usage: wolby_make_default_settings <output folder>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"
#include "settings/settings.h"

namespace {

// A build tool has no one to ask, and says a failed save itself (below).
class ToolDialogs final : public SettingsDialogs {
public:
    bool AskYesNo(const char*, const char*) override { return false; }
    void Tell(const char*, const char*) override {}
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    std::error_code error;
    std::filesystem::current_path(argv[1], error);  // the game saves into its working folder
    if (error) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], error.message().c_str());
        return 1;
    }
    Settings settings;
    settings.SetDefaults();
    ToolDialogs dialogs;
    if (!settings.Save({platform::ReadFileHead, platform::ReplaceFileContents}, dialogs)) {
        std::fprintf(stderr, "%s: cannot write %s in %s\n", argv[0], Settings::kFileName, argv[1]);
        return 1;
    }
    return 0;
}
