#pragma once

// Internal helpers shared by the core's source files: the day-number scale of
// DateValue and its limits. Not part of the public interface.

#include <chrono>
#include <cmath>
#include <cstdint>

namespace norvale::detail {

inline constexpr std::int32_t kSecondsPerDay = 86400;

// 1899-12-30, day number 0 of the stored scale.
inline constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / 12 / 30};

// Day number of a civil date (which may lie outside its month: day 0 is the
// last day of the month before, day 31 of a 30-day month the first of the next).
constexpr std::int64_t DayNumber(int year, unsigned month, int day) {
    const std::chrono::sys_days first{std::chrono::year{year} / std::chrono::month{month} / 1};
    return (first - kEpoch).count() + (day - 1);
}

// The supported calendar: years 100 to 9999.
inline constexpr std::int64_t kFirstDay = DayNumber(100, 1, 1);   // -657434
inline constexpr std::int64_t kLastDay = DayNumber(9999, 12, 31); // 2958465

// Stored value of a day number and a second of that day: the fraction counts
// forwards from the day's midnight and takes the sign of the day part, so
// below the epoch the integer part is negative (-1.25 is 1899-12-29 06:00).
constexpr double ValueOf(std::int64_t day, std::int32_t secondOfDay) {
    const double fraction = static_cast<double>(secondOfDay) / kSecondsPerDay;
    const auto whole = static_cast<double>(day);
    return day < 0 ? whole - fraction : whole + fraction;
}

// Calendar day number and second of the day that a stored value shows, the
// time rounded to the nearest second with any carry running on into the next
// day. False for NaN and for values outside the supported calendar.
struct DayAndSecond {
    std::int64_t day = 0;
    std::int32_t second = 0;
};

inline bool SplitValue(double value, DayAndSecond& out) {
    // Anything outside this window is far outside the supported years; the
    // check also rejects NaN and infinities before any conversion to integer.
    if (!(value > static_cast<double>(kFirstDay - 1) &&
          value < static_cast<double>(kLastDay + 1))) {
        return false;
    }
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    auto day = static_cast<std::int64_t>(whole);
    auto second = static_cast<std::int32_t>(std::floor(fraction * kSecondsPerDay + 0.5));
    if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        ++day;
    }
    if (day < kFirstDay || day > kLastDay) {
        return false;
    }
    out = {day, second};
    return true;
}

} // namespace norvale::detail
