// The squares of one side's discs, in the order they were added. Fixed storage
// inside the object: copying a list copies all of it, nothing is ever allocated.
#pragma once

#include <cstdint>

#include "board/position.h"

class PieceList {
public:
    static constexpr int Capacity = 64;  // the squares of the largest board, 8 x 8
    static constexpr std::int8_t NotFound = 100;

    PieceList() = default;
    PieceList(const PieceList&) = default;
    PieceList& operator=(const PieceList&) = default;
    virtual ~PieceList() = default;

    // Appends the square. A full list refuses it (false) and stays as it was.
    bool Add(Position square);
    // Index of the first entry equal to the square, or NotFound.
    std::int8_t Find(Position square) const {
        // Compares the coordinates directly: passing the Position to Equals by
        // value made the compiler copy it for every entry, the hot spot of a game.
        for (std::int8_t i = 0; i < count; ++i) {
            if (items[i].x == square.x && items[i].y == square.y) return i;
        }
        return NotFound;
    }
    bool Holds(Position square) const { return Find(square) != NotFound; }
    // The same squares in the same order; what lies past `count` does not matter.
    bool operator==(const PieceList& other) const {
        if (count != other.count) return false;
        for (std::int8_t i = 0; i < count; ++i) {
            if (!items[i].Equals(other.items[i])) return false;
        }
        return true;
    }
    // Removes the square and closes the gap, keeping the others in order.
    bool Remove(Position square);
    std::int8_t Count() const { return count; }

    std::int8_t count = 0;
    Position items[Capacity];
};
