// The program's state: every global of the shell and the screens, defined
// together in program_state.cpp. The match itself lives in `g_game`
// (match/game.h); the platform keeps its own state behind its handles.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Which screen is shown; it decides what a click means.
enum Screen : std::int32_t {
    Menu = 0,
    Match = 1,
    Options = 2,
    Credits = 3,
};

// ---------------------------------------------------------------- shell
extern platform::Window g_mainWindow;       // the one window; owner of the timers and dialogs
extern platform::DirectDraw g_directDraw;   // the display, taken at start-up
extern platform::Surface g_primarySurface;  // the visible screen: every drawing goes here
extern platform::Surface g_sheetSurface;    // the graphics sheet "zdj\15.bmp"

// ---------------------------------------------------------------- screens
extern std::int32_t g_screen;        // a Screen value
extern std::int32_t g_humanPlayers;  // human players when the current match started

// What the match screen shows that no command answers, kept as it is drawn so
// that the screen can be drawn again.
struct MatchPicture {
    std::uint8_t squares[8][8];  // [column][row]: 0 the empty tile, 1 or 2 a disc in that player's colour
    std::int32_t clockSeconds;   // the seconds the clock line shows; -1 while it shows none
};

// ---------------------------------------------------------------- shell
extern bool g_gameActive;  // the game is the active program; the display is its own only then

// ---------------------------------------------------------------- menu
extern std::intptr_t g_menuPointer;  // the last pointer point on the menu (x | y << 16); -1 none since it was drawn

// ---------------------------------------------------------------- match screen
extern std::uint8_t g_player1ToMove;  // non-zero while side 0 (player 1) is to move
extern std::int32_t g_moveClockMs;    // time left for the current move
extern platform::Brush g_discBrush1;  // player 1's disc colour
extern platform::Brush g_discBrush2;  // player 2's disc colour
extern std::int32_t g_passCount[2];   // failed move tests in a row, per side
extern bool g_matchOver;              // the result has been announced
extern bool g_noMovesLeft;            // neither side can move though squares are empty
extern MatchPicture g_matchPicture;   // the current (or last) match's picture

// ---------------------------------------------------------------- credits screen
extern std::int32_t g_creditsY;           // y of the title line; kept across visits
extern std::uint8_t g_creditsMovingDown;  // non-zero while the lines move down

// Gives every global above the value it has when the process starts. Start-up
// calls it first; tests and benchmarks call it for each fresh "process".
// Nothing is released: the platform's own reset drops its objects.
void ResetProgramState();
