// The game screen: moves by click or by the computer, the growing discs, the
// status texts and scores, passes, the move clock and the end of the match.
#pragma once

#include <cstdint>

#include "shell/platform/platform.h"

extern std::uint8_t g_player1ToMove;  // non-zero while side 0 (player 1) is to move
extern std::int32_t g_moveClockMs;    // time left for the current move
extern platform::Brush g_discBrush1;
extern platform::Brush g_discBrush2;
extern std::int32_t g_passCount[2];   // failed move tests in a row, per side
extern bool g_matchOver;              // the result has been announced
extern bool g_noMovesLeft;            // neither side can move though squares are empty

// Square (c, r) covers the 50 x 50 pixels from (100 + 51 c, 100 + 51 r).
constexpr std::int32_t kBoardLeft = 100;
constexpr std::int32_t kBoardTop = 100;
constexpr std::int32_t kSquarePitch = 51;
constexpr std::int32_t kSquareSize = 50;

// Timer ids of the window.
constexpr std::uintptr_t kComputerMoveTimer = 0;
constexpr std::uintptr_t kMoveClockTimer = 1;
constexpr std::uintptr_t kCreditsTimer = 3;

// Disc colour of a player (1 or 2) from its colour index.
platform::Colour PlayerColour(std::int32_t player, std::int32_t colourIndex);

// Side 0 is the computer's with no human player, side 1 with at most one.
bool PlayedByComputer(std::int32_t side);

void PlayTurnAt(std::int32_t x, std::int32_t y);
void PlayComputerMove(std::int32_t side);
bool SideCanMove(std::int32_t side);
void DrawDisc(std::int32_t colourSide, std::int32_t x, std::int32_t y);
// The disc of a side (1 or 2, as DrawDisc) at its full size on square (column,
// row), at once: no growing, no pause. For drawing the board again.
void DrawFinishedDisc(std::int32_t colourSide, std::int32_t column, std::int32_t row);
// The status texts, then the end test that stops the timers and announces the result once.
void DrawMatchStatus();
// Whose move it is and both players' disc counts.
void DrawStatusTexts();
// The result lines of a match that has ended, from its scores.
void DrawMatchResult();
void ClockTick();
// The clock line with the seconds, in the colour of the player to move.
void DrawClockLine(std::int32_t seconds);
void MakeDiscBrushes();
