#include "platform/common/timers.h"

#include <algorithm>

namespace platform::common {

// Win32 raises shorter periods to its minimum; so do we, which also keeps a
// zero period from ticking endlessly.
constexpr std::int64_t kMinimumPeriod = 10;

void TimerSet::Set(Window window, std::uintptr_t id, unsigned periodMs, std::int64_t now) {
    Kill(id);
    const std::int64_t period = std::max<std::int64_t>(periodMs, kMinimumPeriod);
    timers_.push_back({window, id, period, now + period, false, 0, started_++});
}

void TimerSet::Kill(std::uintptr_t id) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [id](const Timer& timer) { return timer.id == id; }),
                  timers_.end());
}

bool TimerSet::Running(std::uintptr_t id) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [id](const Timer& timer) { return timer.id == id; });
}

bool TimerSet::TakeTick(std::int64_t now, Message* tick) {
    Timer* first = nullptr;
    for (Timer& timer : timers_) {
        if (timer.next <= now) {
            if (!timer.pending) {
                timer.pending = true;
                timer.pendingSince = timer.next;
            }
            // Expiries missed meanwhile fold into the one pending tick; the rhythm stays.
            timer.next += ((now - timer.next) / timer.period + 1) * timer.period;
        }
        if (timer.pending &&
            (first == nullptr || timer.pendingSince < first->pendingSince ||
             (timer.pendingSince == first->pendingSince && timer.order < first->order))) {
            first = &timer;
        }
    }
    if (first == nullptr) return false;
    first->pending = false;
    if (tick) *tick = Message{first->window, WM_TIMER, first->id, 0};
    return true;
}

std::optional<std::int64_t> TimerSet::NextExpiry() const {
    std::optional<std::int64_t> next;
    for (const Timer& timer : timers_) {
        if (!next || timer.next < *next) next = timer.next;
    }
    return next;
}

}  // namespace platform::common
