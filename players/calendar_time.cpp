#include "players/calendar_time.h"

#include <ctime>

namespace {
CalendarTimeSource g_source = nullptr;
}

std::int64_t CalendarTimeSeconds() {
    return g_source ? g_source() : static_cast<std::int64_t>(std::time(nullptr));
}

void SetCalendarTimeSource(CalendarTimeSource source) { g_source = source; }
