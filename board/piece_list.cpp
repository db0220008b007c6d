#include "board/piece_list.h"

bool PieceList::Add(Position square) {
    if (count >= Capacity) return false;
    items[count] = square;
    ++count;
    return true;
}

bool PieceList::Remove(Position square) {
    const std::int8_t found = Find(square);
    if (found == NotFound) return false;
    for (int i = found; i + 1 < count; ++i) items[i] = items[i + 1];
    --count;
    return true;
}
