// The page's input as the window's messages.
#pragma once

#include <cstdint>

namespace platform::web {

// Listens to the pointer, touches and keys of the page; false when it cannot.
bool StartInput();
// While a dialog shows, the game window takes no input: what comes is dropped.
void HoldInput(bool held);
// Queues the message for the game window and wakes the waiting program.
void Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

}  // namespace platform::web
