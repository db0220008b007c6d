#include "settings/settings_file.h"

#include <cerrno>
#include <cstdio>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace settings_file {
namespace {

namespace fs = std::filesystem;

#if defined(_WIN32)
int CloseFile(int fd) { return _close(fd); }
int ProcessId() { return _getpid(); }
#else
int CloseFile(int fd) { return close(fd); }
int ProcessId() { return static_cast<int>(getpid()); }
#endif

// An open file that closes when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }

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

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
#if defined(_WIN32)
        const int written = _write(fd, bytes.data() + done, static_cast<unsigned>(bytes.size() - done));
#else
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
#endif
        if (written <= 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

bool SyncToDisk(int fd) {
#if defined(_WIN32)
    return _commit(fd) == 0;
#else
    // A file system that takes no flush (EINVAL) keeps what it keeps, as for the folder.
    return fsync(fd) == 0 || errno == EINVAL;
#endif
}

// Puts the bytes at the start of the open file, cuts it after them and flushes
// it. The file is never cut to nothing on the way: a save stopped half-way
// leaves the new bytes over the start of the old ones.
bool RewriteInPlace(int fd, std::span<const std::uint8_t> bytes) {
#if defined(_WIN32)
    if (_lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes)) return false;
    if (_chsize(fd, static_cast<long>(bytes.size())) != 0) return false;
#else
    if (lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes)) return false;
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return false;
#endif
    return SyncToDisk(fd);
}

// The file that `path` names once its symbolic links are followed (it need
// not exist yet): the save replaces that file and leaves the links in place.
fs::path LinkTarget(const char* path) {
    fs::path at = path;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(at, error)) break;
        const fs::path next = fs::read_symlink(at, error);
        if (error) break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

// A name beside `target` for a temporary file: the file's own name, eight
// random letters or digits, ".tmp".
std::string CandidateName(const fs::path& target) {
    static std::mt19937_64 random = [] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), static_cast<unsigned>(ProcessId()),
                           static_cast<unsigned>(now), static_cast<unsigned>(now >> 32)};
        return std::mt19937_64(seed);
    }();
    constexpr char kSymbols[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = target.string() + ".";
    for (int i = 0; i < 8; ++i) name += kSymbols[random() % (sizeof kSymbols - 1)];
    return name + ".tmp";
}

// A temporary file this save made itself: the name is removed only by the
// save that created the file under it.
struct Temporary {
    Descriptor file;
    std::string name;

    void Remove() {
        file.Close();
        if (!name.empty()) std::remove(name.c_str());
        name.clear();
    }
};

// A new, empty file beside `target` under a name no file had (created
// exclusively, so never another's file); with `old`, the mode and, where the
// system permits, the owner of the file it is to replace. False when the
// folder takes no new file.
bool CreateTemporary(const fs::path& target, const struct stat* old, Temporary& made) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string name = CandidateName(target);
#if defined(_WIN32)
        (void)old;
        const int fd = _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                            old != nullptr ? 0600 : 0666);
#endif
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        made.file = Descriptor(fd);
        made.name = name;
#if !defined(_WIN32)
        if (old != nullptr) {
            // The owner first, as changing it may clear the set-id bits. Where that
            // is not permitted, the group alone; failing that, the file becomes the
            // player's, as any new file would.
            if (fchown(fd, old->st_uid, old->st_gid) != 0) {
                const int groupKept = fchown(fd, static_cast<uid_t>(-1), old->st_gid);
                (void)groupKept;
            }
            if (fchmod(fd, old->st_mode & 07777) != 0) {
                made.Remove();
                return false;
            }
        }
#endif
        return true;
    }
    return false;
}

// The rename is only kept by a crash once the folder that holds the name is
// on the disk too. A folder that cannot be opened or takes no flush (some file
// systems) is left; a flush that fails is a failed save.
bool FlushFolder(const fs::path& file) {
#if defined(_WIN32)
    (void)file;
    return true;
#else
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const Descriptor handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handle.Valid()) return true;
    return fsync(handle.Get()) == 0 || errno == EINVAL || errno == EROFS;
#endif
}

// Writes, flushes and closes the temporary, then renames it over `target`.
bool Commit(Temporary& temporary, const fs::path& target, std::span<const std::uint8_t> bytes) {
    const bool written = WriteAll(temporary.file.Get(), bytes) && SyncToDisk(temporary.file.Get());
    if (!temporary.file.Close() || !written) return false;
    std::error_code error;
    fs::rename(temporary.name, target, error);
    if (error) return false;
    temporary.name.clear();  // it is the file now
    return true;
}

}  // namespace

bool ReadHead(const char* path, std::size_t most, std::vector<std::uint8_t>& stored) {
    // Asked before opening: opening a device or a FIFO may wait or act.
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
#if defined(_WIN32)
    const Descriptor file(_open(path, _O_RDONLY | _O_BINARY));
#else
    const Descriptor file(open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    // It may have been swapped for something else since.
    struct stat opened {};
    if (file.Valid() && (fstat(file.Get(), &opened) != 0 || !S_ISREG(opened.st_mode))) return false;
#endif
    if (!file.Valid()) return false;
    stored.resize(most);
    std::size_t got = 0;
    while (got < most) {
#if defined(_WIN32)
        const int read = _read(file.Get(), stored.data() + got, static_cast<unsigned>(most - got));
#else
        const ssize_t read = ::read(file.Get(), stored.data() + got, most - got);
        if (read < 0 && errno == EINTR) continue;
#endif
        if (read < 0) return false;
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    stored.resize(got);
    return true;
}

bool Replace(const char* path, std::span<const std::uint8_t> bytes) {
    const fs::path target = LinkTarget(path);
    Temporary temporary;
#if defined(_WIN32)
    // Windows itself refuses to rename over a read-only file.
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) return false;
    if (!CreateTemporary(target, nullptr, temporary)) {
        if (!exists) return false;
        const Descriptor file(_open(target.string().c_str(), _O_WRONLY | _O_BINARY));
        return file.Valid() && RewriteInPlace(file.Get(), bytes);
    }
#else
    // The file as it is: it must be a regular one the player may read back and
    // write (a save the next start cannot read would ask again at every start).
    // Opening it for both asks exactly that (its mode, the disk) and cuts nothing.
    Descriptor existing;
    struct stat old {};
    if (stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return false;
        existing = Descriptor(open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!existing.Valid() || fstat(existing.Get(), &old) != 0 || !S_ISREG(old.st_mode)) return false;
        // Its other names must see the new bytes too.
        if (old.st_nlink > 1) return RewriteInPlace(existing.Get(), bytes);
    } else if (errno != ENOENT) {
        return false;
    }
    if (!CreateTemporary(target, existing.Valid() ? &old : nullptr, temporary)) {
        return existing.Valid() && RewriteInPlace(existing.Get(), bytes);
    }
#endif
    if (!Commit(temporary, target, bytes)) {
        temporary.Remove();
        return false;
    }
    return FlushFolder(target);
}

}  // namespace settings_file
