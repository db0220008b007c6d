#include "tests/support/calendar.h"

#include "players/calendar_time.h"

namespace wolby_test {

namespace {
std::int64_t g_seconds = 0;
std::int64_t Fixed() { return g_seconds; }
}  // namespace

void SetCalendarTime(std::int64_t seconds) {
    g_seconds = seconds;
    SetCalendarTimeSource(&Fixed);
}

void UseSystemCalendar() { SetCalendarTimeSource(nullptr); }

}  // namespace wolby_test
