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

// Replace the clock (tests fix "now"); an empty function restores the default.
void SetClockSource(ClockSource source);
// Replace the local-time breakdown (tests make it fail); empty restores it.
void SetLocalTimeBreakdown(LocalTimeBreakdown breakdown);

std::int64_t CurrentUnixSeconds();
bool BreakDownLocalTime(std::int64_t seconds, std::tm& out);

// Restores the previous clock when it goes out of scope.
class ScopedClock {
public:
    explicit ScopedClock(std::int64_t fixedSeconds);
    explicit ScopedClock(ClockSource source);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    ClockSource m_previous;
};

} // namespace norvale
