// The computer player's own pseudo-random generator, linear congruential, so
// that its choices do not depend on the C library's rand().
#pragma once

#include <cstdint>

class Lcg {
public:
    void Seed(std::uint32_t seed) { state = seed; }
    // 0 to 32767.
    std::int32_t Draw() {
        state = state * 214013u + 2531011u;
        return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
    }

    std::uint32_t state = 1;
};
