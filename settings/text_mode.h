// The settings file is stored as the original platform's text-mode file I/O
// stores bytes, so that files move between it and us unchanged. The translation
// is done here over plain byte buffers, and the file itself is read and written
// in binary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Writing: each 0x0A becomes 0x0D 0x0A; every other byte is stored as it is.
std::vector<std::uint8_t> EncodeTextMode(std::span<const std::uint8_t> data);

// Reading: 0x0D 0x0A gives 0x0A, a 0x0D not followed by 0x0A stays, and 0x1A
// ends the data. Gives at most `limit` data bytes.
std::vector<std::uint8_t> DecodeTextMode(std::span<const std::uint8_t> stored, std::size_t limit);
