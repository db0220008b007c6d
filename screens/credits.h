// The credits screen: the sheet's strip on both sides and the title with two
// credit lines bouncing up and down, one step per tick of timer 3.
#pragma once

// Opens the screen and starts its timer; the lines appear with the first tick.
void ShowCredits();
// One step: erase the last lines, move one pixel, draw them again.
void AnimateCredits();
// The whole screen again, with the lines where the animation has them now.
void RedrawCredits();
