// The five choices that shape a match, and their file "setting.dat" in the
// working directory: a 12-byte image of the record (type tag, the five bytes,
// padding) stored as text-mode I/O stores it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "settings/settings_dialogs.h"
#include "settings/settings_store.h"

// The texts of the settings file's dialogs, in code page 1250.
namespace settings_text {
inline constexpr char kCaption[] = "B\xB3\xB9" "d";  // Błąd
inline constexpr char kCannotOpen[] =
    "Nie mo\xBFna otworzy\xE6 pliku z ustawieniami.\n"
    "Czy kontynuowa\xE6 z ustawieniami defaultowymi?";
inline constexpr char kCannotSave[] = "Nie mo\xBFna zapisa\xE6 pliku z ustawieniami";
}  // namespace settings_text

class Settings {
public:
    static constexpr const char* kFileName = "setting.dat";
    static constexpr std::size_t kImageSize = 12;
    static constexpr std::uint8_t kTypeTag[4] = {0x90, 0xE1, 0x40, 0x00};

    // The ranges the options screen offers; the file's values are held to them.
    static constexpr int kMinColour = 1, kMaxColour = 9;
    static constexpr int kMinBoardSize = 5, kMaxBoardSize = 8;
    static constexpr int kMinMoveSeconds = 0, kMaxMoveSeconds = 9;
    static constexpr int kMinHumanPlayers = 0, kMaxHumanPlayers = 2;

    Settings() = default;
    Settings(const Settings&) = default;
    Settings& operator=(const Settings&) = default;
    virtual ~Settings() = default;

    // 0 is player 1; any other value player 2.
    std::int8_t DiscColour(std::int32_t player) const {
        return player == 0 ? discColour1 : discColour2;
    }
    std::int8_t BoardSize() const { return boardSize; }
    std::int8_t MoveSeconds() const { return moveSeconds; }
    std::int8_t HumanPlayers() const { return humanPlayers; }

    // Reads "setting.dat" from `files`. When it cannot be read (or is no
    // regular file: a FIFO or a device is never waited on), asks whether to go
    // on with the defaults: true with the defaults on Yes, false on anything else.
    bool Load(const SettingsStore& files, SettingsDialogs& dialogs);
    // Replaces "setting.dat" in `files` with the record's image. On failure
    // tells the user and answers false; the record in memory stays as it is.
    bool Save(const SettingsStore& files, SettingsDialogs& dialogs) const;

    void SetDefaults();
    // The record's data bytes as the file holds them before translation.
    std::array<std::uint8_t, kImageSize> Image() const;
    // Takes the fields from the file's data bytes: a field the data does not
    // reach gets its default, a value outside its range the nearest end of it.
    void TakeImage(std::span<const std::uint8_t> data);

    // The setter commands of the match write these directly. The initial values
    // are the defaults.
    std::int8_t discColour1 = 1;
    std::int8_t discColour2 = 2;
    std::int8_t boardSize = 6;
    std::int8_t moveSeconds = 0;
    std::int8_t humanPlayers = 2;
};
