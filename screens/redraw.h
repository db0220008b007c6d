// Drawing the current screen again from the program's state, after its picture
// was lost (the game was switched away from) or covered. What the state cannot
// tell is kept here as it is drawn.
#pragma once

#include <cstdint>

// What the match screen shows that no command answers.
struct MatchPicture {
    std::uint8_t squares[8][8];  // [column][row]: 0 the empty tile, 1 or 2 a disc in that player's colour
    std::int32_t clockSeconds;   // the seconds the clock line shows; -1 while it shows none
};
extern MatchPicture g_matchPicture;  // the current (or last) match's picture
extern std::intptr_t g_menuPointer;  // the last pointer move on the menu (its lParam); -1 none since it was drawn

// At the start of a match: empty squares and no clock line.
void ClearMatchPicture();
// A disc of side 1 or 2 (any other value: 2) drawn on square (column, row).
void NoteDisc(std::int32_t colourSide, std::int32_t column, std::int32_t row);

// Draws the whole screen that g_screen names as it stands: the menu with the
// marker under the pointer, the options, the credits with their lines, or the
// match's board, discs, texts and result. Discs are drawn at their full size at
// once. Changes nothing in the match or the timers; does nothing before the
// surfaces exist.
void RedrawScreen();
