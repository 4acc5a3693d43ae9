#pragma once

#include "core/Clock.h"
#include "core/DateValue.h"
#include "tests/support/TestSupport.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace norvale::test {

inline DateValue MakeDate(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0) {
    DateValue v;
    v.FromFields(year, month, day, hour, minute, second);
    return v;
}

// "YYYY-MM-DD HH:MM:SS" of a stored value through the calendar conversion
// alone (no status, no pattern expander), or "fails".
inline std::string FieldsText(double value) {
    SystemTime f;
    if (!DaysToFields(value, f)) {
        return "fails";
    }
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", f.wYear, f.wMonth, f.wDay,
                  f.wHour, f.wMinute, f.wSecond);
    return buffer;
}

// Seconds since 1970-01-01 00:00:00 UTC of a UTC calendar instant.
inline std::int64_t UnixSeconds(int year, unsigned month, unsigned day, int hour = 0,
                                int minute = 0, int second = 0) {
    using namespace std::chrono;
    const sys_seconds t = sys_days{std::chrono::year{year} / month / day} + hours{hour} +
                          minutes{minute} + seconds{second};
    return t.time_since_epoch().count();
}

} // namespace norvale::test
