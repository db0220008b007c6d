// setting.dat holds the record's bytes as Windows text-mode file I/O stores
// them: each line feed is written as a carriage return and a line feed. Both
// builds translate here, over plain byte buffers, and read and write the file
// itself in binary, so the Windows build and the Linux build read and write the
// same file.
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
