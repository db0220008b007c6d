// Which screen is shown, and the few values every screen shares.
#pragma once

#include <cstdint>

#include "match/game.h"
#include "shell/platform/platform.h"

enum Screen : std::int32_t {
    Menu = 0,
    Match = 1,
    Options = 2,
    Credits = 3,
};

extern std::int32_t g_screen;        // a Screen value; decides what a click means
extern std::int32_t g_humanPlayers;  // human players when the current match started

// The screen's size, asked of the system each time.
std::int32_t ScreenWidth();
std::int32_t ScreenHeight();

// Fills the rectangle with black (outline included) on the primary surface;
// skipped when no drawing context can be had.
void PaintBlack(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
// Fills the rectangle with the brush, outlined by the black pen; skipped when no
// drawing context can be had.
void PaintWithBrush(platform::Brush brush, std::int32_t left, std::int32_t top,
                    std::int32_t right, std::int32_t bottom);
// Copies a piece of the graphics sheet unscaled to (x, y) on the screen.
void DrawPiece(const platform::Rect& piece, std::int32_t x, std::int32_t y);

// Asks the match object; every value is asked where it is used.
std::int32_t Ask(Command op, std::int32_t a1 = 0, std::int32_t a2 = 0, std::int32_t a3 = 0,
                 std::int32_t a4 = 0);
