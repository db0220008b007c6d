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

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so that a failed write can never leave a cut or empty file behind.
bool ReplaceFile(const char* path, std::span<const std::uint8_t> bytes) {
    const std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
    written = written && SyncToDisk(file);
    written = std::fclose(file) == 0 && written;
    if (written) {
        std::error_code error;
        std::filesystem::rename(temporary, path, error);
        written = !error;
    }
    if (!written) std::remove(temporary.c_str());
    return written;
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
    const std::array<std::uint8_t, kImageSize> image = Image();
    if (ReplaceFile(kFileName, EncodeTextMode(image))) return true;
    dialogs.Tell(settings_text::kCannotSave, settings_text::kCaption);
    return false;
}
