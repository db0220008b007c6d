// Where the settings file is kept: its first bytes read and the whole file
// replaced. The shell hands in its platform's files, tests theirs, so the
// settings need no file calls of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct SettingsStore {
    // Up to `most` bytes from the start of the file at `path`; false when it is
    // no regular file or cannot be read. It must never wait on what it finds.
    bool (*readHead)(const char* path, std::size_t most, std::vector<std::uint8_t>& stored);
    // Makes the file at `path` hold exactly `bytes`, or answers false. A crash
    // or a second save at the same moment must leave the old file or the whole
    // new one, and each save report its own outcome.
    bool (*replace)(const char* path, std::span<const std::uint8_t> bytes);
};
