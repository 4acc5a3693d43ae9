#include "core/Clock.h"

#include <chrono>
#include <limits>

namespace norvale {

namespace {

std::int64_t SystemClockSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
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
