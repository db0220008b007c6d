#include "shell/globals.h"

platform::Window g_mainWindow = nullptr;
platform::DirectDraw g_directDraw = nullptr;
platform::Surface g_primarySurface = nullptr;
platform::Surface g_sheetSurface = nullptr;
