// The settings file as the game writes it, for tests that start the game from
// one or look at what it saved: made by the settings' own code, so that only
// the settings' tests spell its bytes out.
#pragma once

#include <filesystem>

#include "settings/settings.h"
#include "settings/text_mode.h"
#include "tests/support/byte_file.h"

namespace wolby_test {

// The five values; each left out is the game's default.
struct SettingsValues {
    int colour1 = Settings().discColour1;
    int colour2 = Settings().discColour2;
    int boardSize = Settings().boardSize;
    int moveSeconds = Settings().moveSeconds;
    int humanPlayers = Settings().humanPlayers;
};

inline Settings SettingsWith(const SettingsValues& v) {
    Settings s;
    s.discColour1 = static_cast<std::int8_t>(v.colour1);
    s.discColour2 = static_cast<std::int8_t>(v.colour2);
    s.boardSize = static_cast<std::int8_t>(v.boardSize);
    s.moveSeconds = static_cast<std::int8_t>(v.moveSeconds);
    s.humanPlayers = static_cast<std::int8_t>(v.humanPlayers);
    return s;
}

inline Bytes SettingsFile(const SettingsValues& v) { return EncodeTextMode(SettingsWith(v).Image()); }

// The file of the defaults, as the first save writes it.
inline Bytes DefaultSettingsFile() { return SettingsFile({}); }

[[nodiscard]] inline bool WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& v) {
    return WriteBytes(path, SettingsFile(v));
}

}  // namespace wolby_test
