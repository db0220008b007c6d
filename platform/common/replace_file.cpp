// ReplaceFileContents on POSIX systems: the Linux backends, and the browser
// build, whose fsync writes IndexedDB before the save reports success.
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/common/file_names.h"
#include "platform/common/open_file.h"

namespace {

namespace common = platform::common;

namespace fs = std::filesystem;

using Descriptor = common::OpenFile<close>;
using Temporary = common::TemporaryFile<Descriptor>;

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    return common::WriteAll(bytes,
                            [fd](const std::uint8_t* data, std::size_t size) { return write(fd, data, size); });
}

bool SyncToDisk(int fd) {
    // A file system that takes no flush (EINVAL) keeps what it keeps, as for the folder.
    return fsync(fd) == 0 || errno == EINVAL;
}

// Puts the bytes at the start of the open file, cuts it after them and flushes
// it. The file is never cut to nothing on the way: a save stopped half-way
// leaves the new bytes over the start of the old ones.
bool RewriteInPlace(int fd, std::span<const std::uint8_t> bytes) {
    if (lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes)) return false;
    if (ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) return false;
    return SyncToDisk(fd);
}

// A new, empty file beside `target` under a name no file had (created
// exclusively, so never another's file); with `old`, the mode and, where the
// system permits, the owner of the file it is to replace. False when the
// folder takes no new file.
bool CreateTemporary(const fs::path& target, const struct stat* old, Temporary& made) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string name = common::TemporaryName(target, static_cast<unsigned>(getpid()));
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC,
                            old != nullptr ? 0600 : 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        made.file = Descriptor(fd);
        made.name = name;
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
        return true;
    }
    return false;
}

// The rename is only kept by a crash once the folder that holds the name is
// on the disk too. A folder that cannot be opened or takes no flush (some file
// systems) is left; a flush that fails is a failed save.
bool FlushFolder(const fs::path& file) {
    const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
    const Descriptor handle(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!handle.Valid()) return true;
    return fsync(handle.Get()) == 0 || errno == EINVAL || errno == EROFS;
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

bool platform::ReplaceFileContents(const char* path, std::span<const std::uint8_t> bytes) {
    const fs::path target = common::LinkTarget(path);
    Temporary temporary;
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
    if (!Commit(temporary, target, bytes)) {
        temporary.Remove();
        return false;
    }
    return FlushFolder(target);
}

