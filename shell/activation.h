// The game switched away from and back to: the display lent to another program
// and taken back, and the window's picture drawn again when the system asks.
#pragma once

#include "platform/platform.h"

// WM_ACTIVATEAPP: on the way back, the surfaces are restored and the screen redrawn.
void OnActivateApp(bool active);
// WM_PAINT: the screen is redrawn (restoring lost surfaces first) while the game is active.
void OnPaint(platform::Window window);

// Gives the screen and the sheet their memory back if they lost it, taking the
// display mode again when it has gone back to the desktop's, and reloads the
// sheet's picture. True when both surfaces can be drawn on.
bool RestoreSurfaces();
