// A calendar that stands still, for the computer player's seed: the same
// moves on every run.
#pragma once

#include <cstdint>

namespace wolby_test {

// From now on the calendar reads `seconds`; fresh test processes start at 0.
void SetCalendarTime(std::int64_t seconds);
// Back to the system's clock.
void UseSystemCalendar();

}  // namespace wolby_test
