// The menu, the routing of every mouse event, and the transitions that leave
// the menu: a new match, the options, the credits and the end of the program.
#pragma once

#include <cstdint>

void DrawMenu();
void OnMouseMove(std::uintptr_t wParam, std::intptr_t lParam);
void OnLeftButtonDown(std::uintptr_t wParam, std::intptr_t lParam);
void StartMatch();
void ShowCredits();
// The game screen's frame of tiles.
void DrawGameFrame();
// The credits screen without its lines: black, and the strip at both sides.
void DrawCreditsStrips();

// The cursor's drawn point, the middle prong of the fork, lies this far right
// of its hot spot; clicks are corrected by it.
constexpr std::int32_t kClickOffset = 15;
