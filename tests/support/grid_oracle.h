// A plain grid model of the rules, written independently of board/: every check
// of the real board (or of the screen) against it compares two separate
// implementations. Sides are 0 and 1, as the board's; players 1 and 2 play them.
#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "board/board.h"

namespace oracle {

constexpr int kEmpty = -1;
constexpr int kMax = 8;

struct Grid {
    int size = 0;
    int cell[kMax][kMax];  // [x][y]: kEmpty, 0 or 1

    explicit Grid(int n) : size(n) {
        for (auto& column : cell) {
            for (int& c : column) c = kEmpty;
        }
    }
    // The starting position of a board of `n` squares a side.
    static Grid Start(int n) {
        Grid g(n);
        const int c = n / 2 - 1;
        g.cell[c][c] = 0;
        g.cell[c + 1][c + 1] = 0;
        g.cell[c + 1][c] = 1;
        g.cell[c][c + 1] = 1;
        return g;
    }
    bool On(int x, int y) const { return x >= 0 && y >= 0 && x < size && y < size; }
    bool operator==(const Grid&) const = default;
};

// Row by row, '.' for empty, so a mismatch shows as a picture.
inline void PrintTo(const Grid& g, std::ostream* os) {
    for (int y = 0; y < g.size; ++y) {
        *os << "\n";
        for (int x = 0; x < g.size; ++x) *os << (g.cell[x][y] == kEmpty ? '.' : static_cast<char>('0' + g.cell[x][y]));
    }
}

using Squares = std::vector<std::pair<int, int>>;

// The discs that `side` turns by playing (x, y): on each of the eight lines, a
// run of opponent discs directly next to the square, closed by the side's own.
inline Squares Turned(const Grid& g, int x, int y, int side) {
    Squares all;
    if (!g.On(x, y) || g.cell[x][y] != kEmpty) return all;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            if (dx == 0 && dy == 0) continue;
            Squares run;
            int cx = x + dx, cy = y + dy;
            while (g.On(cx, cy) && g.cell[cx][cy] == 1 - side) {
                run.emplace_back(cx, cy);
                cx += dx;
                cy += dy;
            }
            if (!run.empty() && g.On(cx, cy) && g.cell[cx][cy] == side) {
                all.insert(all.end(), run.begin(), run.end());
            }
        }
    }
    return all;
}

inline bool Legal(const Grid& g, int x, int y, int side) { return !Turned(g, x, y, side).empty(); }

// Legal squares, column by column.
inline Squares LegalSquares(const Grid& g, int side) {
    Squares legal;
    for (int x = 0; x < g.size; ++x) {
        for (int y = 0; y < g.size; ++y) {
            if (Legal(g, x, y, side)) legal.emplace_back(x, y);
        }
    }
    return legal;
}

inline bool CanMove(const Grid& g, int side) { return !LegalSquares(g, side).empty(); }

inline int Count(const Grid& g, int side) {
    int n = 0;
    for (int x = 0; x < g.size; ++x) {
        for (int y = 0; y < g.size; ++y) n += g.cell[x][y] == side;
    }
    return n;
}

// The player (1 or 2) whose disc is on the square, 0 for none: as the screen shows it.
inline int PlayerAt(const Grid& g, int x, int y) { return g.cell[x][y] == kEmpty ? 0 : g.cell[x][y] + 1; }

inline void Play(Grid& g, int x, int y, int side) {
    for (auto [tx, ty] : Turned(g, x, y, side)) g.cell[tx][ty] = side;
    g.cell[x][y] = side;
}

// The grid that a board's lists describe; squares off the grid are ignored.
inline Grid FromBoard(const Board& b, int size) {
    Grid g(size);
    for (int i = 0; i < b.side0.count; ++i) {
        if (g.On(b.side0.items[i].x, b.side0.items[i].y)) g.cell[b.side0.items[i].x][b.side0.items[i].y] = 0;
    }
    for (int i = 0; i < b.side1.count; ++i) {
        if (g.On(b.side1.items[i].x, b.side1.items[i].y)) g.cell[b.side1.items[i].x][b.side1.items[i].y] = 1;
    }
    return g;
}

}  // namespace oracle
