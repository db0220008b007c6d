// The browser build's entry point. The page has put the game's folder, its
// data and the player's kept folder in place (platform/web/web_backend.h); a
// first visit gets the default settings file, as the installed Linux launcher
// gives a new player, so the game opens on the menu.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/common/regular_file.h"
#include "platform/web/web_backend.h"
#include "shell/win_main.h"

namespace {

constexpr const char* kDefaultSettings = "/data/setting.dat";

// Plain system calls: the C++ file system library and the streams it brings
// were two fifths of the program.
void CopyDefaultSettings(const std::string& to) {
    std::vector<std::uint8_t> bytes;
    if (!platform::common::ReadRegularFile(kDefaultSettings, 4096, bytes)) return;
    const int file = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0) return;
    const bool written = write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(file);
    if (!written) unlink(to.c_str());
}

void PrepareGameFolder() {
    const std::string kept = std::string(platform::web::kKeptFolder) + "/setting.dat";
    const std::string link = std::string(platform::web::kGameFolder) + "/setting.dat";
    struct stat status {};
    if (stat(kept.c_str(), &status) != 0) CopyDefaultSettings(kept);
    // The game reads and writes its folder's setting.dat; a save follows the
    // link and lands in the kept folder.
    if (lstat(link.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) symlink(kept.c_str(), link.c_str());
    if (chdir(platform::web::kGameFolder) != 0) std::perror(platform::web::kGameFolder);
}

}  // namespace

int main() {
    PrepareGameFolder();
    platform::web::StepDone();
    const int status = WinMain();
    platform::web::Ended(status);
    return status;
}
