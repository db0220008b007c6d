#include "screens/menu.h"

#include "screens/credits.h"
#include "screens/match.h"
#include "screens/options.h"
#include "screens/screen.h"
#include "screens/sheet.h"

namespace menu_layout {

std::int32_t PictureLeft() { return ScreenWidth() / 2 - 160; }
std::int32_t PictureRight() { return ScreenWidth() / 2 + 160; }
std::int32_t FirstItemTop() { return ScreenHeight() / 2 - 130; }

}  // namespace menu_layout

namespace {

using namespace menu_layout;

// The item (1 to 4) whose band holds the point, strictly inside; 0 for none.
int ItemAt(std::int32_t x, std::int32_t y) {
    if (!(PictureLeft() < x && x < PictureRight())) return 0;
    for (int item = 1; item <= kItems; ++item) {
        const std::int32_t top = FirstItemTop() + kItemHeight * (item - 1);
        if (top < y && y < top + kItemHeight) return item;
    }
    return 0;
}

void ExitProgram() {
    Ask(Command::SaveSettings);
    platform::PostQuitMessage(0);
}

}  // namespace

void DrawMenu() {
    g_menuPointer = -1;  // the menu as drawn shows no marker yet
    PaintBlack(0, 0, ScreenWidth(), ScreenHeight());
    DrawPiece(sheet::MenuPicture, ScreenWidth() / 2 - 160, ScreenHeight() / 2 - 250);
}

void MenuPointerMoved(std::int32_t x, std::int32_t y) {
    g_menuPointer = static_cast<std::intptr_t>((x & 0xFFFF) | ((y & 0xFFFF) << 16));
    // Erase the markers of all four items, then draw the one under the pointer.
    PaintBlack(PictureLeft(), FirstItemTop(), PictureLeft() + 50, FirstItemTop() + kItemHeight * kItems);
    const int item = ItemAt(x, y);
    if (item != 0) DrawPiece(sheet::MenuMarker, PictureLeft(), FirstItemTop() + kItemHeight * (item - 1));
}

void RedrawMenu() {
    const std::intptr_t pointer = g_menuPointer;
    DrawMenu();
    if (pointer >= 0) {
        MenuPointerMoved(static_cast<std::int32_t>(pointer & 0xFFFF),
                         static_cast<std::int32_t>((pointer >> 16) & 0xFFFF));
    }
}

void MenuClick(std::int32_t x, std::int32_t y) {
    switch (ItemAt(x, y)) {
        case 1: StartMatch(); break;
        case 2: ShowOptions(); break;
        case 3: ShowCredits(); break;
        case 4: ExitProgram(); break;
        default: break;
    }
}
