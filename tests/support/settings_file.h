// The settings file as the game writes it, for tests that start the game from
// one or look at what it saved: the type tag, the five values, zero padding.
// (The settings' own tests spell the bytes out; this is for everyone else.)
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace wolby_test {

struct SettingsValues {
    int colour1 = 1;
    int colour2 = 2;
    int boardSize = 6;
    int moveSeconds = 0;
    int humanPlayers = 2;
};

inline std::vector<std::uint8_t> SettingsFile(const SettingsValues& v) {
    return {0x90, 0xE1, 0x40, 0x00,
            static_cast<std::uint8_t>(v.colour1), static_cast<std::uint8_t>(v.colour2),
            static_cast<std::uint8_t>(v.boardSize), static_cast<std::uint8_t>(v.moveSeconds),
            static_cast<std::uint8_t>(v.humanPlayers), 0, 0, 0};
}

inline bool WriteSettingsFile(const std::filesystem::path& path, const SettingsValues& v) {
    const std::vector<std::uint8_t> bytes = SettingsFile(v);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

}  // namespace wolby_test
