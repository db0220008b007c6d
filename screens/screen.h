// What every screen draws with and asks through: the screen's size, black and
// brush-filled rectangles, pieces of the graphics sheet, the match's commands,
// and the ids of the window's timers.
#pragma once

#include <cstdint>

#include "match/game.h"
#include "platform/platform.h"
#include "screens/program_state.h"

// Timer ids of the window.
constexpr std::uintptr_t kComputerMoveTimer = 0;  // 500 ms, one computer move per start
constexpr std::uintptr_t kMoveClockTimer = 1;     // 1000 ms, the move clock
constexpr std::uintptr_t kCreditsTimer = 3;       // 50 ms, one step of the credits

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
