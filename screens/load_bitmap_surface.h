// The graphics sheet's loader.
#pragma once

#include "platform/platform.h"

// A new off-screen surface of the bitmap file's own size holding its picture,
// or null when the file cannot be read as a bitmap or no surface can be made.
// The name may use '\' as its separator.
platform::Surface LoadBitmapSurface(platform::DirectDraw directDraw, const char* name);
// Puts the bitmap file's picture onto an existing surface again (after the
// surface lost its memory), stretched to the surface's size. False when the
// file cannot be read as a bitmap or the surface takes no drawing.
bool ReloadBitmapSurface(platform::Surface surface, const char* name);
