#include "tests/support/work_folder.h"

#include <unistd.h>

#include <cstdlib>

namespace fs = std::filesystem;

namespace wolby_test {

fs::path SourceSheet() { return fs::path(WOLBY_SOURCE_DIR) / "zdj" / "15.bmp"; }

WorkFolder::WorkFolder(const std::string& prefix, Place place) : owner_(getpid()) {
    std::error_code error;
    fs::path base = "/dev/shm";
    if (place == kTemporary || !fs::is_directory(base, error)) base = fs::temp_directory_path(error);
    std::string pattern = (base / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

WorkFolder::~WorkFolder() {
    if (path_.empty() || getpid() != owner_) return;
    std::error_code ignored;
    if (!previous_.empty()) fs::current_path(previous_, ignored);
    fs::remove_all(path_, ignored);
}

bool WorkFolder::Enter() {
    std::error_code error;
    if (path_.empty()) return false;
    if (previous_.empty()) previous_ = fs::current_path(error);
    if (error) return false;
    fs::current_path(path_, error);
    return !error;
}

bool WorkFolder::AddSheet(const fs::path& sheet) {
    std::error_code error;
    return !path_.empty() && fs::create_directories(path_ / "zdj", error) &&
           fs::copy_file(sheet, path_ / "zdj" / "15.bmp", error);
}

}  // namespace wolby_test
