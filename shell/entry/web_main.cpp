// The browser build's entry point. The page has put the game's folder, its
// data and the player's kept folder in place (platform/web/web_backend.h); a
// first visit gets the default settings file, as the installed Linux launcher
// gives a new player, so the game opens on the menu.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/web/web_backend.h"
#include "shell/win_main.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kDefaultSettings = "/data/setting.dat";

void PrepareGameFolder() {
    const fs::path kept = fs::path(platform::web::kKeptFolder) / "setting.dat";
    const fs::path link = fs::path(platform::web::kGameFolder) / "setting.dat";
    std::error_code error;
    if (!fs::exists(kept, error)) fs::copy_file(kDefaultSettings, kept, error);
    // The game reads and writes its folder's setting.dat; a save follows the
    // link and lands in the kept folder.
    if (!fs::is_symlink(link, error)) fs::create_symlink(kept, link, error);
    if (chdir(platform::web::kGameFolder) != 0) std::perror(platform::web::kGameFolder);
}

}  // namespace

int main() {
    PrepareGameFolder();
    const int status = WinMain();
    platform::web::Ended(status);
    return status;
}
