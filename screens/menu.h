// The menu: the picture with its four items, the marker beside the item under
// the pointer, and what each item opens.
#pragma once

#include <cstdint>

void DrawMenu();
// The marker follows the pointer at (x, y).
void MenuPointerMoved(std::int32_t x, std::int32_t y);
// The menu again, with the marker where the pointer last was.
void RedrawMenu();
// A click at (x, y), x already corrected for the cursor: a match, the options,
// the credits, or the end of the program (after saving the settings).
void MenuClick(std::int32_t x, std::int32_t y);
