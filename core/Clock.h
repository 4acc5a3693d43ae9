#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace norvale {

// Seconds since 1970-01-01 00:00:00 UTC. The default reads the system clock.
using ClockSource = std::function<std::int64_t()>;
// Breaks seconds since the epoch into local calendar fields; false on failure.
// The default is the C library's localtime_r, so TZ decides the zone.
using LocalTimeBreakdown = std::function<bool(std::int64_t, std::tm&)>;

// The replaceable clock and local-time breakdown: tests fix "now" or make the
// breakdown fail by assigning to these; an empty function is the default.
ClockSource& ClockSeam();
LocalTimeBreakdown& LocalTimeBreakdownSeam();

std::int64_t CurrentUnixSeconds();
bool BreakDownLocalTime(std::int64_t seconds, std::tm& out);

} // namespace norvale
