// What a whole-file replace holds the same way on every system: an open file
// of the C runtime that closes when it goes, the temporary a save made, and
// the loop that writes all the bytes. The calls themselves are the system's.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <utility>

namespace platform::common {

// `CloseFile` is the system's close: close on POSIX, _close on Windows.
template <int (*CloseFile)(int)>
class OpenFile {
public:
    OpenFile() = default;
    explicit OpenFile(int fd) : fd_(fd) {}
    OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OpenFile& operator=(OpenFile&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { Close(); }

    bool Valid() const { return fd_ >= 0; }
    int Get() const { return fd_; }
    // False when closing reports an error (a write the system could not finish).
    bool Close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || CloseFile(fd) == 0;
    }

private:
    int fd_ = -1;
};

// A temporary file this save made itself: the name is removed only by the
// save that created the file under it.
template <class File>
struct TemporaryFile {
    File file;
    std::string name;

    void Remove() {
        file.Close();
        if (!name.empty()) std::remove(name.c_str());
        name.clear();
    }
};

// Every byte through `write(data, size)`, which answers how many it wrote or
// a negative number; a write the system broke off (EINTR) is tried again.
template <class Write>
bool WriteAll(std::span<const std::uint8_t> bytes, Write write) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto written = write(bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace platform::common
