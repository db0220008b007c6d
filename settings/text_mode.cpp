#include "settings/text_mode.h"

namespace {
constexpr std::uint8_t kCarriageReturn = 0x0D;
constexpr std::uint8_t kLineFeed = 0x0A;
constexpr std::uint8_t kEndOfFile = 0x1A;
}  // namespace

std::vector<std::uint8_t> EncodeTextMode(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> stored;
    stored.reserve(data.size() * 2);
    for (const std::uint8_t byte : data) {
        if (byte == kLineFeed) stored.push_back(kCarriageReturn);
        stored.push_back(byte);
    }
    return stored;
}

std::vector<std::uint8_t> DecodeTextMode(std::span<const std::uint8_t> stored, std::size_t limit) {
    std::vector<std::uint8_t> data;
    for (std::size_t i = 0; i < stored.size() && data.size() < limit; ++i) {
        const std::uint8_t byte = stored[i];
        if (byte == kEndOfFile) break;
        if (byte == kCarriageReturn && i + 1 < stored.size() && stored[i + 1] == kLineFeed) {
            data.push_back(kLineFeed);
            ++i;
        } else {
            data.push_back(byte);
        }
    }
    return data;
}
