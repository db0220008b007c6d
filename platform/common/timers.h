// Window timers on any clock. Each timer expires at a steady rhythm (start +
// k * period); an expiry sets its pending flag, so however many expiries pass
// before the loop asks, at most one tick per timer waits. Killing a timer drops
// its pending tick.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace platform::common {

class TimerSet {
public:
    // Starts the timer, or restarts a running one from `now`.
    void Set(Window window, std::uintptr_t id, unsigned periodMs, std::int64_t now);
    void Kill(std::uintptr_t id);
    bool Running(std::uintptr_t id) const;
    void Clear() { timers_.clear(); }

    // Takes the pending tick whose expiry came first, after noting every expiry up to `now`.
    bool TakeTick(std::int64_t now, Message* tick);
    // The earliest expiry still ahead of the clock, if any timer runs.
    std::optional<std::int64_t> NextExpiry() const;

private:
    struct Timer {
        Window window;
        std::uintptr_t id;
        std::int64_t period;
        std::int64_t next;         // the next expiry
        bool pending;
        std::int64_t pendingSince; // the expiry that set the flag
        std::uint64_t order;       // breaks ties between equal expiries
    };
    std::vector<Timer> timers_;
    std::uint64_t started_ = 0;
};

}  // namespace platform::common
