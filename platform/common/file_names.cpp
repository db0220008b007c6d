#include "platform/common/file_names.h"

#include <chrono>
#include <random>
#include <system_error>

namespace platform::common {

namespace fs = std::filesystem;

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

std::string TemporaryName(const fs::path& target, unsigned processId) {
    static std::mt19937_64 random = [processId] {
        std::random_device device;
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::seed_seq seed{device(), device(), processId, static_cast<unsigned>(now),
                           static_cast<unsigned>(now >> 32)};
        return std::mt19937_64(seed);
    }();
    constexpr char kSymbols[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = target.string() + ".";
    for (int i = 0; i < 8; ++i) name += kSymbols[random() % (sizeof kSymbols - 1)];
    return name + ".tmp";
}

}  // namespace platform::common
