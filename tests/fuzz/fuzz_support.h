// What the fuzz targets share: a scratch working directory (on a memory file
// system when there is one: some targets save a file on every input) and
// whole-file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace wolby_fuzz {

// Enters a fresh directory once per process; later calls do nothing.
inline bool EnterScratchDirectory() {
    static const bool entered = [] {
        std::filesystem::path base = "/dev/shm";
        std::error_code error;
        if (!std::filesystem::is_directory(base, error)) base = std::filesystem::temp_directory_path();
        std::string pattern = (base / "wolby-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return false;
        std::filesystem::current_path(pattern);
        // The directory goes with the process, whichever way it ends.
        static const std::string made = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::current_path("/", ignored);
            std::filesystem::remove_all(made, ignored);
        });
        return true;
    }();
    return entered;
}

inline void WriteWholeFile(const char* path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    if (std::fclose(file) != 0) std::abort();
}

// Stops the run on a broken expectation: libFuzzer and the seed replay both
// report an abort with the input that caused it.
inline void Expect(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "expectation broken: %s\n", what);
        std::abort();
    }
}

}  // namespace wolby_fuzz
