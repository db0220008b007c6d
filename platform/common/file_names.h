// The names a whole-file replace works with, the same on every system: the
// file a path leads to, and a fresh name beside it for the temporary.
#pragma once

#include <filesystem>
#include <string>

namespace platform::common {

// The file that `path` names once its symbolic links are followed (it need
// not exist yet): a replace writes that file and leaves the links in place.
std::filesystem::path LinkTarget(const char* path);
// A name beside `target` for a temporary file: the file's own name, eight
// random letters or digits, ".tmp". The process id seeds the choice with the
// system's randomness, so that two copies started together pick apart.
std::string TemporaryName(const std::filesystem::path& target, unsigned processId);

}  // namespace platform::common
