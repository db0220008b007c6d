// What the browser backend offers beyond the platform interface, for the
// browser build's entry point only.
#pragma once

namespace platform::web {

// The game's folders in the browser's file system, as the page prepared them:
// the game runs in kGameFolder (the sheet zdj/15.bmp), whose setting.dat leads
// to the one in kKeptFolder, which lives in the browser's storage.
constexpr const char* kGameFolder = "/game";
constexpr const char* kKeptFolder = "/kept";

// Until the game's first picture is shown, gives the page its thread back for
// a moment: the start's long steps become tasks of their own.
void StepDone();
// Starts listening to the page's input; false when the page has no picture.
bool Open();
// The program has ended with the status: the listeners go, and the page shows
// that the game has ended.
void Ended(int status);

}  // namespace platform::web
