#include "platform/common/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::common {

bool ReadRegularFile(const std::string& path, std::uint64_t most, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    // Asked before opening: opening a device or a FIFO may wait or act.
    struct stat named {};
    if (stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode)) return false;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    // It may have been swapped for something else since.
    struct stat opened {};
    bool ok = fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
              static_cast<std::uint64_t>(opened.st_size) <= most;
    if (ok) bytes.reserve(static_cast<std::size_t>(opened.st_size));
    std::uint8_t chunk[65536];
    while (ok) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        // A file that grew while it was read is held to the same limit.
        ok = bytes.size() <= most;
    }
    close(fd);
    if (!ok) bytes.clear();
    return ok;
}

}  // namespace platform::common
