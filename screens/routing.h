// Where input goes: every pointer move, click and ESC, by the screen shown.
// The window procedure hands them here; timer ticks go straight to their
// screen (match.h, credits.h).
#pragma once

#include <cstdint>

// The cursor's drawn point, the middle prong of the fork, lies this far right
// of its hot spot; clicks are corrected by it.
constexpr std::int32_t kClickOffset = 15;

// Pointer moves draw the menu's marker; other screens ignore them.
void OnMouseMove(std::uintptr_t wParam, std::intptr_t lParam);
// A click, corrected by kClickOffset: to the menu's items, the options' arrows
// and button, or the board while a person is to move.
void OnLeftButtonDown(std::uintptr_t wParam, std::intptr_t lParam);
// ESC from any screen: the menu, and every timer stopped. The match is left as
// it is until the next one starts; the settings are not written.
void ReturnToMenu();
// Draws the whole screen that g_screen names as it stands, after its picture
// was lost or covered: the menu with its marker, the options, the credits with
// their lines, or the match. Changes nothing in the match or the timers; does
// nothing before the surfaces exist.
void RedrawScreen();
