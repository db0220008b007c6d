// The settings file's reading and replacing on the C runtime of Windows. As on
// Linux the bytes go to a new temporary beside the file, flushed and renamed
// over it; Windows keeps no mode or owner to carry over and no folder to flush.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "platform/common/file_names.h"
#include "platform/common/open_file.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
namespace common = platform::common;

using Descriptor = common::OpenFile<_close>;
using Temporary = common::TemporaryFile<Descriptor>;

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    return common::WriteAll(bytes, [fd](const std::uint8_t* data, std::size_t size) {
        return _write(fd, data, static_cast<unsigned>(size));
    });
}

// The bytes at the start of the open file, cut after them and flushed; never
// cut to nothing on the way.
bool RewriteInPlace(int fd, std::span<const std::uint8_t> bytes) {
    if (_lseek(fd, 0, SEEK_SET) != 0 || !WriteAll(fd, bytes)) return false;
    if (_chsize(fd, static_cast<long>(bytes.size())) != 0) return false;
    return _commit(fd) == 0;
}

// A new, empty file beside `target` under a name no file had; false when the
// folder takes no new file.
bool CreateTemporary(const fs::path& target, Temporary& made) {
    for (int attempt = 0; attempt < 64; ++attempt) {
        const std::string name = common::TemporaryName(target, static_cast<unsigned>(_getpid()));
        const int fd = _open(name.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        made.file = Descriptor(fd);
        made.name = name;
        return true;
    }
    return false;
}

}  // namespace

bool platform::ReadFileHead(const char* path, std::size_t most, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    const Descriptor file(_open(path, _O_RDONLY | _O_BINARY));
    if (!file.Valid()) return false;
    bytes.resize(most);
    std::size_t got = 0;
    while (got < most) {
        const int read = _read(file.Get(), bytes.data() + got, static_cast<unsigned>(most - got));
        if (read < 0) {
            bytes.clear();
            return false;
        }
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    bytes.resize(got);
    return true;
}

bool platform::ReplaceFileContents(const char* path, std::span<const std::uint8_t> bytes) {
    const fs::path target = common::LinkTarget(path);
    // Windows itself refuses to rename over a read-only file.
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) return false;
    Temporary temporary;
    if (!CreateTemporary(target, temporary)) {
        if (!exists) return false;
        const Descriptor file(_open(target.string().c_str(), _O_WRONLY | _O_BINARY));
        return file.Valid() && RewriteInPlace(file.Get(), bytes);
    }
    const bool written = WriteAll(temporary.file.Get(), bytes) && _commit(temporary.file.Get()) == 0;
    if (!temporary.file.Close() || !written) {
        temporary.Remove();
        return false;
    }
    fs::rename(temporary.name, target, error);
    if (error) {
        temporary.Remove();
        return false;
    }
    return true;
}
