#include "platform/common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/platform.h"

namespace platform::common {
namespace {

// With `whole`, a file longer than `most` is refused; without, its first `most` bytes are read.
bool Read(const std::string& path, std::uint64_t most, bool whole, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    // Asked before opening: opening a device or a FIFO may wait or act.
    struct stat named {};
    if (stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    // It may have been swapped for something else since.
    struct stat opened {};
    bool ok = fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
              (!whole || static_cast<std::uint64_t>(opened.st_size) <= most);
    if (ok) bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(most, static_cast<std::uint64_t>(opened.st_size))));
    std::uint8_t chunk[65536];
    // Without `whole`, reading stops at `most`; with it, one byte past shows a file that grew.
    const std::uint64_t limit = whole ? most + 1 : most;
    while (ok && bytes.size() < limit) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, limit - bytes.size()));
        const ssize_t got = read(fd, chunk, want);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    // A file that grew while it was read is held to the same limit.
    if (whole && bytes.size() > most) ok = false;
    close(fd);
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::uint64_t most, std::vector<std::uint8_t>& bytes) {
    return Read(path, most, true, bytes);
}

bool ReadRegularFileHead(const std::string& path, std::uint64_t most, std::vector<std::uint8_t>& bytes) {
    return Read(path, most, false, bytes);
}

}  // namespace platform::common

bool platform::ReadFileHead(const char* path, std::size_t most, std::vector<std::uint8_t>& bytes) {
    return common::ReadRegularFileHead(path, most, bytes);
}
