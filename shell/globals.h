// The shell's program-wide state, made at start-up and kept for the whole run.
#pragma once

#include "shell/platform/platform.h"

extern platform::Window g_mainWindow;
extern platform::DirectDraw g_directDraw;
extern platform::Surface g_primarySurface;  // the visible screen: every drawing goes here
extern platform::Surface g_sheetSurface;    // the graphics sheet
