// The two move rules: placement (is a move legal, and if so play it) and
// enclosure (which discs does the move just played turn), one square at a time.
#include "board/board.h"

namespace {

struct Step {
    std::int32_t dx;
    std::int32_t dy;
};

// The order in which a placement examines the directions; the first that
// encloses a line decides.
constexpr Step kDirections[8] = {
    {0, 1}, {1, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}, {1, 0},
};

// A line longer than this does not make a placement legal.
constexpr std::int32_t kLookAhead = 8;

constexpr std::int32_t Sign(std::int32_t v) { return (v > 0) - (v < 0); }

}  // namespace

bool Board::TryPlace(Position square, std::int32_t side) {
    if (side0.Holds(square) || side1.Holds(square)) return false;
    PieceList& own = side == 0 ? side0 : side1;
    const PieceList& opponent = side == 0 ? side1 : side0;
    for (const Step& step : kDirections) {
        for (std::int32_t k = 1; k <= kLookAhead; ++k) {
            const Position next(square.x + k * step.dx, square.y + k * step.dy);
            if (!opponent.Holds(next)) break;
            const Position beyond(square.x + (k + 1) * step.dx, square.y + (k + 1) * step.dy);
            if (own.Holds(beyond)) return own.Add(square);
        }
    }
    return false;
}

bool Board::IsEnclosed(Position played, Position candidate, std::int32_t size) const {
    const bool side0Moved = side0.Holds(played);
    const PieceList& mover = side0Moved ? side0 : side1;
    const PieceList& opponent = side0Moved ? side1 : side0;
    if (mover.Holds(candidate)) return false;

    const Step inward{Sign(played.x - candidate.x), Sign(played.y - candidate.y)};
    // A zero step would walk on the spot; only a candidate on the played square
    // gives one, and a played square with no disc on it is never asked about.
    if (inward.dx == 0 && inward.dy == 0) return false;

    // Away from the played square: the line must reach a mover's disc over
    // opponent discs only, before an empty square or the edge.
    for (Position at = candidate;; at = Position(at.x - inward.dx, at.y - inward.dy)) {
        if (mover.Holds(at)) break;
        if (at.x < 0 || at.y < 0 || at.x >= size || at.y >= size) return false;
        if (!opponent.Holds(at)) return false;
    }
    // Toward it: nothing but opponent discs between the candidate and the played
    // square. A candidate off the lines through it walks past and stops at the
    // first square the opponent does not hold.
    for (Position at = candidate;; at = Position(at.x + inward.dx, at.y + inward.dy)) {
        if (at.Equals(played)) return true;
        if (!opponent.Holds(at)) return false;
    }
}
