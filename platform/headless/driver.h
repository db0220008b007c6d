// The headless backend: the game on the window system and display of common/
// with no window. It is the null front end a new platform starts from: nothing
// is shown, the clock stands still but for Sleep, every call is allowed, a
// message box answers as if closed and the message loop ends once nothing is
// queued or due. Whatever drives it (the tests' controls,
// tests/support/headless_controls.h) takes over through these seams.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/common/backend.h"
#include "platform/platform.h"

namespace platform::headless {

struct Driver {
    std::int64_t now = 0;     // the virtual clock, in milliseconds
    Cursor cursor = nullptr;  // the cursor last set
    // Each seam, when set, is the backend function of the same name.
    std::function<bool(backend::Call)> allows;
    std::function<bool(std::optional<std::int64_t> deadline)> wait;
    std::function<int(Window owner, const char* text, const char* caption, unsigned type)> messageBox;
};
Driver& Driven();

}  // namespace platform::headless
