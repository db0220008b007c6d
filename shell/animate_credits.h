// The credits screen's bouncing title and credit lines, one step per tick.
#pragma once

#include <cstdint>

extern std::int32_t g_creditsY;           // y of the title line
extern std::uint8_t g_creditsMovingDown;  // non-zero while the lines move down

void AnimateCredits();
// The title and the credit lines where the animation has them now.
void DrawCreditsLines();
