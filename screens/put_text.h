// One opaque line of text on the screen.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Writes `text` (code page 1250) with its top-left corner at (x, y) on the
// primary surface, every character cell filled with `backColour`. A point left
// of or above the screen, or beyond its width or height, draws nothing.
void PutText(const char* text, platform::Colour textColour, platform::Colour backColour,
             std::int32_t x, std::int32_t y);
