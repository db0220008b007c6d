// The program's two small pictures, made in code: the fork cursor and the icon.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// Cursor 118, a white three-pronged fork pointing up on a transparent ground,
// drawn `size` pixels square from its 32 x 32 pixels (nearest neighbour), so
// that it matches a picture shown at size / 32 of its own scale. The hot spot
// stays at its top-left pixel.
SDL_Cursor* CreateForkCursor(int size);
// Icon 121: 32 x 32, blue on a transparent ground.
SDL_Surface* CreateIcon();

}  // namespace platform::sdl
