#include "core/Clock.h"

#include <ctime>
#include <limits>

#include <time.h>

namespace norvale {

namespace {

// Whole seconds straight from the system clock. (The standard library's
// system_clock counts 64-bit nanoseconds, which overflow in April 2262.)
std::int64_t SystemClockSeconds() {
    timespec now{};
    if (::clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return 0;
    }
    return static_cast<std::int64_t>(now.tv_sec);
}

bool LocalTimeOf(std::int64_t seconds, std::tm& out) {
    if (seconds < std::numeric_limits<std::time_t>::min() ||
        seconds > std::numeric_limits<std::time_t>::max()) {
        return false;
    }
    const auto t = static_cast<std::time_t>(seconds);
    return localtime_r(&t, &out) != nullptr;
}

} // namespace

ClockSource& ClockSeam() {
    static ClockSource source;
    return source;
}

LocalTimeBreakdown& LocalTimeBreakdownSeam() {
    static LocalTimeBreakdown breakdown;
    return breakdown;
}

std::int64_t CurrentUnixSeconds() {
    const ClockSource& source = ClockSeam();
    return source ? source() : SystemClockSeconds();
}

bool BreakDownLocalTime(std::int64_t seconds, std::tm& out) {
    const LocalTimeBreakdown& breakdown = LocalTimeBreakdownSeam();
    return breakdown ? breakdown(seconds, out) : LocalTimeOf(seconds, out);
}

} // namespace norvale
