#include "settings/settings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "settings/text_mode.h"

namespace {

// Data offsets of the five fields inside the image.
constexpr std::size_t kDiscColour1At = 4;
constexpr std::size_t kDiscColour2At = 5;
constexpr std::size_t kBoardSizeAt = 6;
constexpr std::size_t kMoveSecondsAt = 7;
constexpr std::size_t kHumanPlayersAt = 8;

// Twelve data bytes can take up to 24 stored bytes, and the last may be the 0x0D
// of a pair whose 0x0A decides what it reads as.
constexpr std::size_t kStoredHeadSize = 2 * Settings::kImageSize + 1;

// The first stored bytes of the file; false when it cannot be opened or read
// (a directory opens on some systems, but it is no settings file).
bool ReadHead(const char* path, std::vector<std::uint8_t>& stored) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    stored.resize(kStoredHeadSize);
    stored.resize(std::fread(stored.data(), 1, stored.size(), file));
    const bool readable = std::ferror(file) == 0;
    std::fclose(file);
    return readable;
}

bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool Truncate(std::FILE* file) {
#if defined(_WIN32)
    return _chsize(_fileno(file), 0) == 0;
#else
    return ftruncate(fileno(file), 0) == 0;
#endif
}

// Writes all the bytes, flushes them to the disk and closes the file; false
// when any step fails.
bool WriteAndClose(std::FILE* file, std::span<const std::uint8_t> bytes) {
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
    written = written && SyncToDisk(file);
    return std::fclose(file) == 0 && written;
}

// The file that `path` names once its symbolic links are followed (it need
// not exist yet): the save replaces that file and leaves the links in place.
std::filesystem::path LinkTarget(const char* path) {
    std::filesystem::path at = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(at, error)) break;
        const std::filesystem::path next = std::filesystem::read_symlink(at, error);
        if (error) break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

// A new, empty temporary file, with the mode (and, where the system permits,
// the owner) of the file it is to replace; null when none can be created.
std::FILE* CreateTemporary(const std::string& temporary, const std::string& target) {
#if defined(_WIN32)
    (void)target;
    std::remove(temporary.c_str());
    return std::fopen(temporary.c_str(), "wb");
#else
    // A temporary left by a save that was cut off goes; anything else of that
    // name (a folder) stays, and the save takes the other way.
    unlink(temporary.c_str());
    struct stat old {};
    const bool replacing = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        replacing ? 0600 : 0666);
    if (fd < 0) return nullptr;
    bool ready = true;
    if (replacing) {
        // The owner first, as changing it may clear the set-id bits. Where that
        // is not permitted, the group alone; failing that, the file becomes the
        // player's, as any new file would.
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            const int groupKept = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
            (void)groupKept;
        }
        ready = fchmod(fd, old.st_mode & 07777) == 0;
    }
    std::FILE* file = ready ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        close(fd);
        unlink(temporary.c_str());
    }
    return file;
#endif
}

enum class Replaced { Yes, Failed, NoTemporary };

// Writes the bytes to a temporary file beside `target` and renames it over
// `target`, so that a failed write can never leave a cut or empty file behind.
Replaced ReplaceFile(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    const std::string temporary = target.string() + ".tmp";
    std::FILE* file = CreateTemporary(temporary, target.string());
    if (file == nullptr) return Replaced::NoTemporary;
    bool written = WriteAndClose(file, bytes);
    if (written) {
        std::error_code error;
        std::filesystem::rename(temporary, target, error);
        written = !error;
    }
    if (!written) std::remove(temporary.c_str());
    return written ? Replaced::Yes : Replaced::Failed;
}

// The second way, for a folder that takes no new file while the file itself
// may be written: cut the file to nothing and write it again where it is.
bool RewriteInPlace(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    std::FILE* file = std::fopen(target.string().c_str(), "r+b");
    if (file == nullptr) return false;
    if (!Truncate(file)) {
        std::fclose(file);
        return false;
    }
    return WriteAndClose(file, bytes);
}

}  // namespace

void Settings::SetDefaults() { *this = Settings(); }

std::array<std::uint8_t, Settings::kImageSize> Settings::Image() const {
    std::array<std::uint8_t, kImageSize> image{};  // the padding stays zero
    std::copy(std::begin(kTypeTag), std::end(kTypeTag), image.begin());
    image[kDiscColour1At] = static_cast<std::uint8_t>(discColour1);
    image[kDiscColour2At] = static_cast<std::uint8_t>(discColour2);
    image[kBoardSizeAt] = static_cast<std::uint8_t>(boardSize);
    image[kMoveSecondsAt] = static_cast<std::uint8_t>(moveSeconds);
    image[kHumanPlayersAt] = static_cast<std::uint8_t>(humanPlayers);
    return image;
}

void Settings::TakeImage(std::span<const std::uint8_t> data) {
    // A hand-edited file must not bring a board too large for the disc lists,
    // a player count with no players, or a value no options arrow can send.
    const Settings defaults;
    const auto field = [&data](std::size_t at, std::int8_t fallback, int low, int high) {
        if (at >= data.size()) return fallback;
        const int value = static_cast<std::int8_t>(data[at]);
        return static_cast<std::int8_t>(std::clamp(value, low, high));
    };
    discColour1 = field(kDiscColour1At, defaults.discColour1, kMinColour, kMaxColour);
    discColour2 = field(kDiscColour2At, defaults.discColour2, kMinColour, kMaxColour);
    boardSize = field(kBoardSizeAt, defaults.boardSize, kMinBoardSize, kMaxBoardSize);
    moveSeconds = field(kMoveSecondsAt, defaults.moveSeconds, kMinMoveSeconds, kMaxMoveSeconds);
    humanPlayers =
        field(kHumanPlayersAt, defaults.humanPlayers, kMinHumanPlayers, kMaxHumanPlayers);
}

bool Settings::Load(SettingsDialogs& dialogs) {
    std::vector<std::uint8_t> stored;
    if (!ReadHead(kFileName, stored)) {
        if (!dialogs.AskYesNo(settings_text::kCannotOpen, settings_text::kCaption)) return false;
        // The file is first written by the next save.
        SetDefaults();
        return true;
    }
    TakeImage(DecodeTextMode(stored, kImageSize));
    return true;
}

bool Settings::Save(SettingsDialogs& dialogs) const {
    const std::vector<std::uint8_t> bytes = EncodeTextMode(Image());
    const std::filesystem::path target = LinkTarget(kFileName);
    const Replaced replaced = ReplaceFile(target, bytes);
    if (replaced == Replaced::Yes) return true;
    if (replaced == Replaced::NoTemporary && RewriteInPlace(target, bytes)) return true;
    dialogs.Tell(settings_text::kCannotSave, settings_text::kCaption);
    return false;
}
