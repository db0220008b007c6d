#include "settings/settings.h"

#include <algorithm>
#include <vector>

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

bool Settings::Load(const SettingsStore& files, SettingsDialogs& dialogs) {
    std::vector<std::uint8_t> stored;
    if (!files.readHead(kFileName, kStoredHeadSize, stored)) {
        if (!dialogs.AskYesNo(settings_text::kCannotOpen, settings_text::kCaption)) return false;
        // The file is first written by the next save.
        SetDefaults();
        return true;
    }
    TakeImage(DecodeTextMode(stored, kImageSize));
    return true;
}

bool Settings::Save(const SettingsStore& files, SettingsDialogs& dialogs) const {
    if (files.replace(kFileName, EncodeTextMode(Image()))) return true;
    dialogs.Tell(settings_text::kCannotSave, settings_text::kCaption);
    return false;
}
