// setting.dat on the disk: its first bytes read without ever blocking, and the
// file replaced so that neither a crash nor another copy of the game saving at
// the same moment can tear it or make a save report what did not happen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace settings_file {

// Up to `most` bytes from the start of the file at `path`. False when it is no
// regular file once links are followed (missing, a folder, a FIFO, a device, a
// socket) or cannot be read; such a file is never opened in a way that waits.
bool ReadHead(const char* path, std::size_t most, std::vector<std::uint8_t>& stored);

// Makes the file at `path` hold exactly `bytes`; false when it does not.
// - Symbolic links stay: the file they lead to gets the bytes (Linux).
// - A file that is not a regular one, or that the player may not write or
//   read back (its mode, a read-only disk), is left as it is and the save fails.
// - The bytes go to a new temporary file of a name no one else uses, beside
//   the file, which is flushed, renamed over it, and the folder flushed too:
//   a crash leaves the old file or the whole new one, and of two saves at once
//   the last rename wins with each reporting its own outcome. The file keeps
//   its mode and, where the system permits, its owner.
// - A file with other names (hard links, Linux), and a file in a folder that
//   takes no new file, is rewritten where it is, so that every name sees the
//   new bytes; only there can a save cut off half-way leave new bytes over old.
// - Nothing is ever removed but the temporary this save made.
bool Replace(const char* path, std::span<const std::uint8_t> bytes);

}  // namespace settings_file
