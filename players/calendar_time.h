// The calendar time in whole seconds, read through one seam so that tests and
// the headless platform can set it. By default it is the system's clock.
#pragma once

#include <cstdint>

using CalendarTimeSource = std::int64_t (*)();

std::int64_t CalendarTimeSeconds();
// nullptr restores the system's clock.
void SetCalendarTimeSource(CalendarTimeSource source);
