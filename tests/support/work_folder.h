// A fresh empty folder of a test's own under the temporary folder, removed with
// all it holds when the object goes (by the process that made it, never by a
// forked child). Entered, it is the working directory until then.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace wolby_test {

// The graphics sheet of the source tree (zdj/15.bmp).
std::filesystem::path SourceSheet();

class WorkFolder {
public:
    // kMemory: on a memory file system where there is one (/dev/shm), for
    // work that writes a file on every step.
    enum Place { kTemporary, kMemory };

    explicit WorkFolder(const std::string& prefix, Place place = kTemporary);
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& Path() const { return path_; }
    // Makes it the working directory; the one before comes back when it goes.
    [[nodiscard]] bool Enter();
    // Copies a graphics sheet in as zdj/15.bmp, where the game looks for it.
    [[nodiscard]] bool AddSheet(const std::filesystem::path& sheet = SourceSheet());

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
    pid_t owner_ = 0;
};

}  // namespace wolby_test
