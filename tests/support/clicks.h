// Where a person points and clicks on the headless backend, from the screens'
// own geometry: the middle of a menu item, of a board square, of an options
// arrow or of the back button. The game takes a click kClickOffset right of
// the pointer (the cursor's middle prong), so the pointer goes that far left
// of the aim. Tests of the exact edges keep their numbers.
#pragma once

#include <cstdint>

#include "tests/support/headless_controls.h"
#include "screens/match.h"
#include "screens/menu.h"
#include "screens/options.h"
#include "screens/routing.h"

namespace wolby_test {

enum class MenuItem { Start = 1, Options, Credits, Exit };

inline std::int32_t MenuItemMiddleX() { return (menu_layout::PictureLeft() + menu_layout::PictureRight()) / 2; }
inline std::int32_t MenuItemMiddleY(MenuItem item) {
    return menu_layout::FirstItemTop() + menu_layout::kItemHeight * (static_cast<int>(item) - 1) +
           menu_layout::kItemHeight / 2;
}
// The pointer over the item: its marker shows.
inline void PointAtMenuItem(MenuItem item) {
    platform::headless::PostMouseMove(MenuItemMiddleX(), MenuItemMiddleY(item));
}
inline void ClickMenuItem(MenuItem item) {
    platform::headless::PostLeftClick(MenuItemMiddleX() - kClickOffset, MenuItemMiddleY(item));
}

// Square (column, row) of the board, both counted from 0 at the top left.
inline void ClickSquare(std::int32_t column, std::int32_t row) {
    platform::headless::PostLeftClick(kBoardLeft + kSquarePitch * column + kSquareSize / 2 - kClickOffset,
                                      kBoardTop + kSquarePitch * row + kSquareSize / 2);
}

// An arrow of the options' row: delta -1 the left one, +1 the right one.
inline void ClickOptionsArrow(options_layout::Row row, int delta) {
    using namespace options_layout;
    const std::int32_t left = delta < 0 ? kLeftArrowX : kRightArrowX;
    platform::headless::PostLeftClick(left + kArrowWidth / 2 - kClickOffset, kRowY[row] + kRowHeight / 2);
}
// The back button: saves the settings and returns to the menu.
inline void ClickOptionsBack() {
    const platform::Rect& button = options_layout::kBackButton;
    platform::headless::PostLeftClick((button.left + button.right) / 2 - kClickOffset, (button.top + button.bottom) / 2);
}

}  // namespace wolby_test
