#include "core/Clock.h"

#include <chrono>
#include <limits>
#include <utility>

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

ClockSource& ActiveClock() {
    static ClockSource source;
    return source;
}

LocalTimeBreakdown& ActiveBreakdown() {
    static LocalTimeBreakdown breakdown;
    return breakdown;
}

} // namespace

void SetClockSource(ClockSource source) {
    ActiveClock() = std::move(source);
}

void SetLocalTimeBreakdown(LocalTimeBreakdown breakdown) {
    ActiveBreakdown() = std::move(breakdown);
}

std::int64_t CurrentUnixSeconds() {
    const ClockSource& source = ActiveClock();
    return source ? source() : SystemClockSeconds();
}

bool BreakDownLocalTime(std::int64_t seconds, std::tm& out) {
    const LocalTimeBreakdown& breakdown = ActiveBreakdown();
    return breakdown ? breakdown(seconds, out) : LocalTimeOf(seconds, out);
}

ScopedClock::ScopedClock(std::int64_t fixedSeconds)
    : ScopedClock(ClockSource{[fixedSeconds] { return fixedSeconds; }}) {}

ScopedClock::ScopedClock(ClockSource source) : m_previous(std::move(ActiveClock())) {
    ActiveClock() = std::move(source);
}

ScopedClock::~ScopedClock() {
    ActiveClock() = std::move(m_previous);
}

} // namespace norvale
