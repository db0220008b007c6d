// The options screen: five settings, each changed one step at a time by its
// arrows; the back button saves them and returns to the menu.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Where the screen's parts lie: a row of 50 pixels for each setting, its
// label at the left, its value between two arrows, each arrow 50 pixels wide
// from its left edge; the back button below. A point is on a part strictly
// inside it.
namespace options_layout {
enum Row { BoardSize, HumanPlayers, MoveSeconds, Colour1, Colour2, RowCount };
constexpr std::int32_t kRowY[RowCount] = {150, 200, 250, 300, 350};
constexpr std::int32_t kRowHeight = 50;
constexpr std::int32_t kLeftArrowX = 400;
constexpr std::int32_t kRightArrowX = 500;
constexpr std::int32_t kArrowWidth = 50;
constexpr platform::Rect kBackButton{350, 450, 450, 500};
// Code page 1250. The split literal (a hex escape would swallow the "c") is
// in parentheses, which tells the compiler it is not a missing comma.
inline constexpr const char* kLabels[RowCount] = {
    "Wielko\x9C\xE6 planszy",
    "Ilo\x9C\xE6 graczy",
    ("Czas na ruch (0 - czas wy\xB3\xB9" "czony)[sek]"),
    "Kolor pionk\xF3w gracza 1",
    "Kolor pionk\xF3w gracza 2",
};
}  // namespace options_layout

// Opens the screen with the values the match holds now.
void ShowOptions();
void DrawOptions();
// A click at (x, y), x already corrected for the cursor.
void OptionsClick(std::int32_t x, std::int32_t y);
