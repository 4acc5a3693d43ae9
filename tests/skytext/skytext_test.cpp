// The true sky's texts: minutes rounded (never cut), the date of the rounded
// minute, the zone's name or, when it has none, its offset.

#include "core/Clock.h"
#include "skytext/SkyText.h"
#include "tests/core/CoreTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <ctime>

namespace norvale::skytext {
namespace {

using test::UnixSeconds;

TEST(SkyText, MinutesAreRoundedAndTheZoneNamedOrGivenByItsOffset) {
    struct Case {
        const char* zone;
        std::int64_t seconds;
        const char* text;
    };
    const Case cases[] = {
        // The Full Moon of 2027-02-20 23:23:31 UTC is at 23:24, not 23:23.
        {"UTC", UnixSeconds(2027, 2, 20, 23, 23, 31), "2027-02-20 23:24 UTC"},
        {"UTC", UnixSeconds(2027, 2, 20, 23, 23, 29), "2027-02-20 23:23 UTC"},
        {"UTC", UnixSeconds(2027, 2, 20, 23, 23, 30), "2027-02-20 23:24 UTC"},
        // The date is the rounded minute's date.
        {"UTC", UnixSeconds(2026, 12, 31, 23, 59, 40), "2027-01-01 00:00 UTC"},
        {"Europe/Berlin", UnixSeconds(2027, 1, 7, 22, 59, 45), "2027-01-08 00:00 CET"},
        // Before 1970 the seconds count down to the epoch: the same rule.
        {"UTC", UnixSeconds(1850, 6, 1, 12, 0, 30), "1850-06-01 12:01 UTC"},
        {"UTC", UnixSeconds(1850, 6, 1, 12, 0, 29), "1850-06-01 12:00 UTC"},
        // A TZ without a zone file or a name: no empty name and trailing space.
        {"AB", UnixSeconds(2027, 1, 7, 20, 24), "2027-01-07 20:24 +00:00"},
        {"1234", UnixSeconds(2027, 1, 7, 20, 24), "2027-01-07 20:24 +00:00"},
    };
    for (const Case& c : cases) {
        const test::ScopedTimeZone zone(c.zone);
        EXPECT_EQ(LocalMinuteText(c.seconds), c.text) << c.zone;
    }

    // Zones given through the core's seam: without a name (null or empty),
    // and a breakdown that fails (UTC then). Local mean time (+00:53:28)
    // rounds the local reading: 21:17:36 is 21:18.
    struct SeamCase {
        long east;
        const char* name;
        bool works;
        const char* text;
    };
    const SeamCase seamCases[] = {
        {19800, nullptr, true, "2027-01-08 01:54 +05:30"},
        {-12600, "", true, "2027-01-07 16:54 -03:30"},
        {3208, nullptr, true, "2027-01-07 21:18 +00:53:28"},
        {0, nullptr, false, "2027-01-07 20:24 UTC"},
    };
    for (const SeamCase& c : seamCases) {
        const test::ScopedOverride seam(
            LocalTimeBreakdownSeam(), [&c](std::int64_t seconds, std::tm& out) {
                const auto t = static_cast<std::time_t>(seconds + c.east);
                ::gmtime_r(&t, &out);
                out.tm_gmtoff = c.east;
                out.tm_zone = c.name;
                return c.works;
            });
        EXPECT_EQ(LocalMinuteText(UnixSeconds(2027, 1, 7, 20, 24, 8)), c.text) << c.east;
    }
}

} // namespace
} // namespace norvale::skytext
