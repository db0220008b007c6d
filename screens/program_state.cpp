#include "screens/program_state.h"

// Start-up gives each its first value (ResetProgramState, below), so the
// values are written once.
platform::Window g_mainWindow{};
platform::DirectDraw g_directDraw{};
platform::Surface g_primarySurface{};
platform::Surface g_sheetSurface{};

bool g_gameActive{};

std::intptr_t g_menuPointer{};

std::int32_t g_screen{};
std::int32_t g_humanPlayers{};

std::uint8_t g_player1ToMove{};
std::int32_t g_moveClockMs{};
platform::Brush g_discBrush1{};
platform::Brush g_discBrush2{};
std::int32_t g_passCount[2]{};
bool g_matchOver{};
bool g_noMovesLeft{};
MatchPicture g_matchPicture{};

std::int32_t g_creditsY{};
std::uint8_t g_creditsMovingDown{};

void ResetProgramState() {
    g_mainWindow = nullptr;
    g_directDraw = nullptr;
    g_primarySurface = nullptr;
    g_sheetSurface = nullptr;
    g_gameActive = true;

    g_menuPointer = -1;

    g_screen = Screen::Menu;
    g_humanPlayers = 0;

    g_player1ToMove = 1;
    g_moveClockMs = 5000;
    g_discBrush1 = nullptr;
    g_discBrush2 = nullptr;
    g_passCount[0] = 0;
    g_passCount[1] = 0;
    g_matchOver = false;
    g_noMovesLeft = false;
    g_matchPicture = MatchPicture{{}, -1};

    g_creditsY = 100;
    g_creditsMovingDown = 0;
}
