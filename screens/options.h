// The options screen: five settings, each changed one step at a time by its
// arrows; the back button saves them and returns to the menu.
#pragma once

#include <cstdint>

// Opens the screen with the values the match holds now.
void ShowOptions();
void DrawOptions();
// A click at (x, y), x already corrected for the cursor.
void OptionsClick(std::int32_t x, std::int32_t y);
