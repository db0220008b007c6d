#include "shell/win_main.h"

#include "match/game.h"
#include "screens/load_bitmap_surface.h"
#include "screens/menu.h"
#include "screens/program_state.h"
#include "screens/sheet.h"
#include "shell/main_window_proc.h"
#include "shell/message_box_dialogs.h"

namespace {

// Code page 1250.
constexpr const char* kCaption = "B\xB3\xB9" "d";
constexpr const char* kNoDirectDraw = "Nie mo\xBFna zainicjowa\xE6 obiektu DirectDraw";
constexpr const char* kNoDisplayMode = "Nie mo\xBFna ustawi\xE6 trybu graficznego";
constexpr const char* kNoSurface = "Nie mo\xBFna stworzy\xE6 bufora DirectDraw";
constexpr const char* kNoBitmap = "Nie mo\xBFna wczyta\xE6 bitmapy";

// The settings file kept where the platform keeps files.
constexpr SettingsStore kSettingsFiles{platform::ReadFileHead, platform::ReplaceFileContents};

int Fail(const char* text) {
    platform::MessageBox(g_mainWindow, text, kCaption, platform::MB_OK | platform::MB_ICONHAND);
    return 0;
}

// The screens cut their pieces from all of the sheet's 640 x 480: a smaller
// one would leave them without pictures (a menu that cannot be seen).
bool HoldsEveryPiece(platform::Surface sheetSurface) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetSurfaceSize(sheetSurface, &width, &height);
    return width >= sheet::kWidth && height >= sheet::kHeight;
}

}  // namespace

int WinMain() {
    ResetProgramState();
    // With no settings file the person is asked first; "No" ends here, before any window.
    if (!g_game.Init(kSettingsFiles, MessageBoxDialogs())) return 0;

    platform::SetCursor(platform::LoadCursor(platform::kForkCursor));
    platform::RegisterClassEx("Wolby", MainWindowProc);
    // The window keeps the desktop's size from before the display mode is set.
    const std::int32_t width = platform::GetSystemMetrics(platform::SM_CXSCREEN);
    const std::int32_t height = platform::GetSystemMetrics(platform::SM_CYSCREEN);
    g_mainWindow = platform::CreateWindowEx("Wolby", "Wolby", 0, 0, width, height);
    platform::ShowWindow(g_mainWindow);
    platform::UpdateWindow(g_mainWindow);
    platform::SetForegroundWindow(g_mainWindow);

    if (!platform::DirectDrawCreate(&g_directDraw)) return Fail(kNoDirectDraw);
    if (!platform::SetCooperativeLevel(g_directDraw, g_mainWindow,
                                       platform::DDSCL_EXCLUSIVE | platform::DDSCL_FULLSCREEN)) {
        return Fail(kNoDisplayMode);
    }
    if (!platform::SetDisplayMode(g_directDraw, 800, 600, 16)) return Fail(kNoDisplayMode);
    if (!platform::CreatePrimarySurface(g_directDraw, &g_primarySurface)) return Fail(kNoSurface);
    if (!platform::CreateOffscreenSurface(g_directDraw, sheet::kWidth, sheet::kHeight, &g_sheetSurface)) {
        return Fail(kNoSurface);
    }
    // The loaded sheet takes the place of that surface, which goes back.
    const platform::Surface replaced = g_sheetSurface;
    g_sheetSurface = LoadBitmapSurface(g_directDraw, sheet::kFileName);
    platform::ReleaseSurface(replaced);
    if (g_sheetSurface == nullptr) return Fail(kNoBitmap);
    if (!HoldsEveryPiece(g_sheetSurface)) {
        platform::ReleaseSurface(g_sheetSurface);
        g_sheetSurface = nullptr;
        return Fail(kNoBitmap);
    }

    DrawMenu();

    platform::Message message;
    while (platform::GetMessage(&message)) {
        platform::TranslateMessage(&message);
        platform::DispatchMessage(&message);
    }
    return 1;
}
