// The match screen: its first picture, moves by click or by the computer, the
// growing discs, the status texts and scores, passes, the move clock and the
// end of the match.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Square (c, r) covers the 50 x 50 pixels from (100 + 51 c, 100 + 51 r).
constexpr std::int32_t kBoardLeft = 100;
constexpr std::int32_t kBoardTop = 100;
constexpr std::int32_t kSquarePitch = 51;
constexpr std::int32_t kSquareSize = 50;

// A new match from the settings: the empty board, the status, the frame and
// the four opening discs; starts the computer's or the clock's timer.
void StartMatch();

// Timer 1: the clock's step, the computer's move started at its one-second
// mark, then the status (which may end the match).
void MoveClockStep();
// Timer 0: stops itself, then plays the computer's move for the side to move.
void ComputerMoveStep();

// Disc colour of a player (1 or 2) from its colour index.
platform::Colour PlayerColour(std::int32_t player, std::int32_t colourIndex);
// Side 0 is the computer's with no human player, side 1 with at most one.
bool PlayedByComputer(std::int32_t side);

// One move at a screen point: the disc, the turned discs, the status, the
// next side to move and its timers.
void PlayTurnAt(std::int32_t x, std::int32_t y);
void PlayComputerMove(std::int32_t side);
// Whether the side has a legal square. It counts: a side that has one clears
// both pass counters, a side that has none adds one to its own.
bool SideCanMove(std::int32_t side);
// Grows a disc of player `colourSide` (1 or 2) on the square holding (x, y).
void DrawDisc(std::int32_t colourSide, std::int32_t x, std::int32_t y);
// The disc of a side (1 or 2, as DrawDisc) at its full size on square (column,
// row), at once: no growing, no pause. For drawing the board again.
void DrawFinishedDisc(std::int32_t colourSide, std::int32_t column, std::int32_t row);
// Draws the status texts, then ends the match when it is decided: stops the
// computer's and the clock's timers and announces the result once.
void DrawMatchStatus();
// Whose move it is and both players' disc counts.
void DrawStatusTexts();
// The result lines of a match that has ended, from its scores.
void DrawMatchResult();
// Writes the seconds left, then takes one second off the clock; when the time
// is up it passes the turn and restarts the clock instead.
void ClockTick();
// The clock line with the seconds, in the colour of the player to move.
void DrawClockLine(std::int32_t seconds);
// The whole match screen again as it stands (g_matchPicture): board, discs at
// their full size, texts, frame and result. Changes nothing in the match.
void RedrawMatch();
// New brushes in the players' colours; the old ones are deleted.
void MakeDiscBrushes();
