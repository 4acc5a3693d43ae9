#pragma once

#include "core/SystemTime.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace norvale {

enum class DateStatus : std::int32_t { valid = 0, invalid = 1, null = 2 };

enum class TimeUnit : std::int32_t { days = 0, hours = 1, minutes = 2, seconds = 3 };

// A signed length in days; the fraction is a part of a day.
struct DateSpan {
    double span = 0.0;
    DateStatus status = DateStatus::valid;

    constexpr DateSpan() = default;
    constexpr DateSpan(double s, DateStatus st) : span(s), status(st) {}
    // days + hours/24 + minutes/1440 + seconds/86400, valid.
    constexpr DateSpan(std::int32_t days, std::int32_t hours, std::int32_t minutes,
                       std::int32_t seconds)
        : span(days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0) {}

    // Whole units after a half-second nudge away from zero, truncated toward
    // zero. Results beyond the signed 32-bit range saturate.
    double TotalHours() const;
    double TotalMinutes() const;
    double TotalSeconds() const;
};

// The span of exactly one day that every day step uses.
inline constexpr DateSpan OneDay{1, 0, 0, 0};

// A local wall-clock date and time to the second: days since 1899-12-30
// 00:00:00 (the fraction is the time of day) with a status. Below the epoch
// the integer part is negative and the fraction still counts forwards from
// that day's midnight (-1.25 is 1899-12-29 06:00:00).
struct DateValue {
    double value = 0.0;
    DateStatus status = DateStatus::valid;

    constexpr DateValue() = default;
    constexpr DateValue(double v, DateStatus st) : value(v), status(st) {}

    // Validated conversion: sets value and status; on a failed forward
    // conversion value keeps what it held. Each field is stored as 16 bits.
    void FromFields(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                    std::int32_t minute, std::int32_t second);
    void FromSystemTime(const SystemTime& fields);
    // Local wall-clock time of an instant (seconds since 1970-01-01 UTC).
    void FromUnixTime(std::int64_t seconds);
    // The current local date and time (through the replaceable clock).
    static DateValue Now();

    bool ToFields(SystemTime& out) const;
    std::int32_t Year() const;
    std::int32_t Month() const;
    std::int32_t Day() const;
    DateValue EndOfDay() const;

    // strftime-style pattern, expanded in the POSIX locale; "" for null,
    // "Invalid DateTime" when the value cannot be shown.
    std::string Format(std::string_view pattern) const;

    DateValue& operator+=(const DateSpan& d);
    DateValue& operator-=(const DateSpan& d);
};

DateValue operator+(const DateValue& v, const DateSpan& d);
DateValue operator-(const DateValue& v, const DateSpan& d);
// Invalid when beyond +-3615897 days.
DateSpan operator-(const DateValue& a, const DateValue& b);

// The continuous day count of a stored value, and back.
double LinearDays(double value);
double FromLinearDays(double linear);

double Elapsed(const DateValue& from, const DateValue& to, TimeUnit unit);
// a reduced modulo b with floor semantics; the quotient saturates to 32 bits.
double FloorMod(double a, double b);

// The calendar conversions behind DateValue, exposed for tests and tools.
// Fields to day count; fails for month > 12, day > 31, year > 9999 or a
// negative year (as signed 16 bits). Day 0 is the last day of the month before.
bool FieldsToDays(const SystemTime& fields, double& out);
// Day count to fields (time rounded to the nearest second, with carry);
// dayOfYear (1-366) when asked for. Fails outside years 100 to 9999.
bool DaysToFields(double value, SystemTime& out, int* dayOfYear = nullptr);

} // namespace norvale
