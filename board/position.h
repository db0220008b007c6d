// One square of the board: column x, row y, (0, 0) at the top left. Carries no
// bounds; the rules decide where the edge of the board is.
#pragma once

#include <cstdint>

class Position {
public:
    Position() = default;
    Position(std::int32_t column, std::int32_t row) : x(column), y(row) {}
    Position(const Position&) = default;
    Position& operator=(const Position&) = default;
    virtual ~Position() = default;

    bool Equals(Position other) const { return x == other.x && y == other.y; }

    std::int32_t x = 0;
    std::int32_t y = 0;
};
