// Reading a file the game was given a name of, such as its graphics sheet or
// its settings, without ever waiting on it: a FIFO, a device or a socket under
// that name is not opened in a way that blocks, and is refused like a missing file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::common {

// The whole file at `path` (links followed). False when it is no regular file,
// cannot be read, or holds more than `most` bytes.
bool ReadRegularFile(const std::string& path, std::uint64_t most, std::vector<std::uint8_t>& bytes);
// Up to `most` bytes from its start, however long the file is.
bool ReadRegularFileHead(const std::string& path, std::uint64_t most, std::vector<std::uint8_t>& bytes);

}  // namespace platform::common
