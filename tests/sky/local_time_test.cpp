// Local dates and times to instants across changes of the clocks: a skipped
// time moves forward by the gap, a repeated time takes its first occurrence.

#include "sky/LocalTime.h"
#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace norvale::sky {
namespace {

using test::UnixSeconds;

struct LocalCase {
    const char* zone;
    int year, month, day, hour, minute, second;
    std::optional<std::int64_t> utc;
    const char* what;
};

const LocalCase kCases[] = {
    // Europe/Berlin: CET to CEST on 2027-03-28 at 01:00 UTC (02:00 -> 03:00),
    // back on 2027-10-31 at 01:00 UTC (03:00 -> 02:00).
    {"Europe/Berlin", 2027, 3, 28, 1, 59, 59, UnixSeconds(2027, 3, 28, 0, 59, 59), "before gap"},
    {"Europe/Berlin", 2027, 3, 28, 2, 30, 0, UnixSeconds(2027, 3, 28, 1, 30), "in gap: 03:30"},
    {"Europe/Berlin", 2027, 3, 28, 3, 0, 0, UnixSeconds(2027, 3, 28, 1, 0), "after gap"},
    {"Europe/Berlin", 2027, 10, 31, 1, 59, 59, UnixSeconds(2027, 10, 30, 23, 59, 59), "CEST"},
    {"Europe/Berlin", 2027, 10, 31, 2, 30, 0, UnixSeconds(2027, 10, 31, 0, 30), "twice: first"},
    {"Europe/Berlin", 2027, 10, 31, 3, 0, 0, UnixSeconds(2027, 10, 31, 2, 0), "after overlap"},
    // Lord Howe Island moves its clocks by half an hour.
    {"Australia/Lord_Howe", 2027, 10, 3, 2, 15, 0, UnixSeconds(2027, 10, 2, 15, 45), "half gap"},
    {"Australia/Lord_Howe", 2027, 4, 4, 1, 45, 0, UnixSeconds(2027, 4, 3, 14, 45), "half twice"},
    // Samoa skipped 2011-12-30 altogether (UTC-10 to UTC+14).
    {"Pacific/Apia", 2011, 12, 30, 12, 0, 0, UnixSeconds(2011, 12, 30, 22, 0), "skipped day"},
    {"America/St_Johns", 2027, 1, 15, 12, 0, 0, UnixSeconds(2027, 1, 15, 15, 30), "UTC-3:30"},
    // Freetown's summer time of 1939 lasted 3 days 23:40 (-01 to -00:40 on
    // 1 September at 01:00 UTC, back on 5 September at 00:40 UTC): two days
    // either side of the reading both fall in -01.
    {"Africa/Freetown", 1939, 9, 3, 0, 50, 0, UnixSeconds(1939, 9, 3, 1, 30), "short summer"},
    // A hand-written rule with 23 hours of summer time (UTC+1) from 2027-04-10
    // 00:00 UTC: a reading inside it, and one of the repeated hour at its end.
    {"STD0DST-1,J100/0,J101/0", 2027, 4, 10, 12, 0, 0, UnixSeconds(2027, 4, 10, 11), "23 h"},
    {"STD0DST-1,J100/0,J101/0", 2027, 4, 10, 23, 30, 0, UnixSeconds(2027, 4, 10, 22, 30),
     "23 h: twice"},
    {"UTC", 1800, 1, 1, 0, 0, 0, UnixSeconds(1800, 1, 1), "first documented second"},
    {"UTC", 2024, 2, 29, 12, 0, 0, UnixSeconds(2024, 2, 29, 12), "leap day"},
    // Readings that are not on the calendar.
    {"UTC", 2027, 2, 29, 12, 0, 0, std::nullopt, "no leap day"},
    {"UTC", 2027, 4, 31, 12, 0, 0, std::nullopt, "31 April"},
    {"UTC", 2027, 13, 1, 12, 0, 0, std::nullopt, "month 13"},
    {"UTC", 2027, 0, 1, 12, 0, 0, std::nullopt, "month 0"},
    {"UTC", 2027, 1, 1, 24, 0, 0, std::nullopt, "24:00"},
    {"UTC", 2027, 1, 1, 12, 60, 0, std::nullopt, "minute 60"},
    {"UTC", 2027, 1, 1, 12, 0, 60, std::nullopt, "second 60"},
    {"UTC", 2027, 1, 1, -1, 0, 0, std::nullopt, "hour -1"},
};

TEST(LocalTime, GapsMoveForwardAndRepeatsTakeTheFirst) {
    for (const LocalCase& c : kCases) {
        const test::ScopedTimeZone zone(c.zone);
        EXPECT_EQ(LocalToUtcSeconds(c.year, c.month, c.day, c.hour, c.minute, c.second), c.utc)
            << c.zone << " " << c.what;
    }
}

} // namespace
} // namespace norvale::sky
