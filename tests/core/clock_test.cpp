// The clock and the local-time breakdown behind DateValue::Now and
// FromUnixTime.

#include "core/Clock.h"
#include "core/DateValue.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace norvale {
namespace {

using test::FieldsText;
using test::MakeDate;

constexpr double kUntouched = 123.5; // what a value held before a failed conversion

struct UnixCase {
    std::int64_t seconds;
    const char* shows; // nullptr when the conversion must fail
};

TEST(FromUnixTimeTest, LocalWallClockInUtc) {
    test::ScopedTimeZone zone("UTC");
    const UnixCase rows[] = {
        {0, "1970-01-01 00:00:00"},
        {test::UnixSeconds(2002, 1, 13, 13, 29), "2002-01-13 13:29:00"},
        {test::UnixSeconds(1900, 1, 1), "1900-01-01 00:00:00"},
        {test::UnixSeconds(1899, 12, 29, 6), "1899-12-29 06:00:00"},
        {test::UnixSeconds(9999, 12, 31, 23, 59, 59), "9999-12-31 23:59:59"},
        {test::UnixSeconds(9999, 12, 31, 23, 59, 59) + 1, nullptr},
        {1'000'000'000'000, nullptr}, // year 33658 would wrap in 16 bits
        {std::numeric_limits<std::int64_t>::max(), nullptr},
        {std::numeric_limits<std::int64_t>::min(), nullptr},
    };
    for (const UnixCase& r : rows) {
        DateValue v{kUntouched, DateStatus::valid};
        v.FromUnixTime(r.seconds);
        if (r.shows == nullptr) {
            EXPECT_EQ(v.status, DateStatus::invalid) << r.seconds;
            EXPECT_EQ(v.value, kUntouched) << r.seconds;
        } else {
            EXPECT_EQ(v.status, DateStatus::valid) << r.seconds;
            EXPECT_EQ(FieldsText(v.value), r.shows) << r.seconds;
        }
    }
    DateValue reference;
    reference.FromUnixTime(test::UnixSeconds(2002, 1, 13, 13, 29));
    EXPECT_EQ(reference.value, 37269.56180555555);
}

TEST(FromUnixTimeTest, FailedBreakdownGivesInvalid) {
    DateValue now;
    {
        const test::ScopedOverride failing(LocalTimeBreakdownSeam(),
                                           [](std::int64_t, std::tm&) { return false; });
        const test::ScopedOverride clock(ClockSeam(),
                                         test::FixedClock(test::UnixSeconds(2026, 12, 6, 5)));
        now = DateValue::Now();
    }
    EXPECT_EQ(now.status, DateStatus::invalid);
    EXPECT_EQ(now.value, 0.0);
}

TEST(FromUnixTimeTest, NowReadsTheReplaceableClock) {
    test::ScopedTimeZone zone("UTC");
    {
        const test::ScopedOverride clock(ClockSeam(),
                                         test::FixedClock(test::UnixSeconds(2026, 12, 6, 5, 4, 3)));
        const DateValue now = DateValue::Now();
        EXPECT_EQ(now.status, DateStatus::valid);
        EXPECT_EQ(FieldsText(now.value), "2026-12-06 05:04:03");
        {
            const test::ScopedOverride inner(ClockSeam(), test::FixedClock(0));
            EXPECT_EQ(FieldsText(DateValue::Now().value), "1970-01-01 00:00:00");
        }
        EXPECT_EQ(FieldsText(DateValue::Now().value), "2026-12-06 05:04:03");
    }
    // The default clock is back: a day well after this code was written.
    EXPECT_GT(DateValue::Now().value, MakeDate(2024, 1, 1).value);
}

} // namespace
} // namespace norvale
