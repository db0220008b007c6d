// The menu: the picture with its four items, the marker beside the item under
// the pointer, and what each item opens.
#pragma once

#include <cstdint>

// Where the items lie: four bands of 50 pixels under each other, as wide as
// the picture, the first 120 pixels below the picture's top. A point is on an
// item strictly inside its band.
namespace menu_layout {
constexpr int kItems = 4;  // a match, the options, the credits, the exit
constexpr std::int32_t kItemHeight = 50;
std::int32_t PictureLeft();
std::int32_t PictureRight();
std::int32_t FirstItemTop();
}  // namespace menu_layout

void DrawMenu();
// The marker follows the pointer at (x, y).
void MenuPointerMoved(std::int32_t x, std::int32_t y);
// The menu again, with the marker where the pointer last was.
void RedrawMenu();
// A click at (x, y), x already corrected for the cursor: a match, the options,
// the credits, or the end of the program (after saving the settings).
void MenuClick(std::int32_t x, std::int32_t y);
