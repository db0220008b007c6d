// The calls the browser backend makes of its page (web_library.js): the
// picture, the cursor, the dialogs and the waits. Only the backend includes this.
#pragma once

#include <cstdint>

extern "C" {

// Suspends the program (Asyncify) until web_wake is called or `timeoutMs` has
// passed (negative: no time limit). Costs no processor time meanwhile.
void wolby_web_wait(double timeoutMs);
// Suspends the program until `deadline` (the clock's milliseconds) for a pause
// that began at `began`; events do not end it.
void wolby_web_pause(double began, double deadline);
// Suspends the program until the page has run its other tasks.
void wolby_web_yield();
// Ends a wait in progress soon after the current event (an input came).
void wolby_web_wake();
// Puts `width` x `height` RGBA pixels (row after row) on the picture at (x, y).
void wolby_web_put_pixels(const std::uint8_t* rgba, int x, int y, int width, int height);
// The page's point (clientX, clientY) as a point of the 800 x 600 picture,
// x | y << 16; a point beside the picture goes to its nearest edge.
int wolby_web_picture_point(int clientX, int clientY);
// Shows the cursor drawn from the 32 x 32 mask (1: the fork, white) at the
// picture's scale, hot spot at its top-left pixel; null: the page's own.
void wolby_web_set_cursor(const std::uint8_t* mask);
// A modal box over the picture; answers 0 for the first button, 1 for the second.
int wolby_web_message_box(const char* utf8Text, const char* utf8Caption, int yesNo, int error);
// Whether the keyboard is on one of the page's own controls (its ⚙ panel),
// whose keys are theirs, not the game's.
int wolby_web_page_has_keys();
// The program has ended with the status.
void wolby_web_ended(int status);
// The game writes this line of text (UTF-8) on the picture.
void wolby_web_line(const char* utf8);

}
