#include "place/PlaceSky.h"
#include "sky/LocalTime.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

namespace norvale {
namespace {

struct DayCase {
    const char* zone;
    double latitude;
    double longitude;
    int year, month, day;
    const char* line; // RiseLine without the date
};

// A local day's rise, transit and set, each checked against python3-ephem's
// positions (tests/sky/check_moon_place_accuracy.py's search) to the second
// before rounding to the minute. Faults caught: the day taken in UTC instead
// of the zone's (Kiritimati is UTC+14, Tokyo seen from Berlin's day), a kind
// kept once when it comes twice, "always" confused with a missing event, the
// transit taken as the lower one, a 24-hour day on a 23- or 25-hour one.
TEST(MoonDay, GivesTheEventsOfTheLocalDay) {
    const DayCase cases[] = {
        // ephem: rise 05:51:29, transit 09:36:32, set 13:14:40 UTC.
        {"Europe/Berlin", 52.5, 13.366666666666667, 2026, 12, 7,
         "rise 06:51 CET\ttransit 10:37 CET at 12.2 degrees\tset 14:15 CET"},
        // No moonrise this day: it rose at 23:45 the day before.
        {"Europe/Berlin", 52.5, 13.366666666666667, 2026, 12, 30,
         "rise none\ttransit 05:31 CET at 33.2 degrees\tset 11:15 CET"},
        // Two moonsets: ephem 00:02:01 and 23:58:15 UTC.
        {"UTC", 62.0, 25.0, 2026, 5, 22,
         "rise 07:16 UTC\ttransit 15:56 UTC at 42.7 degrees\tset 00:02 UTC and 23:58 UTC"},
        // Up all day, and the transit falls just outside the day.
        {"Arctic/Longyearbyen", 78.0, 16.0, 2026, 1, 3, "up all day\ttransit none"},
        {"Arctic/Longyearbyen", 78.0, 16.0, 2026, 1, 12,
         "down all day\ttransit 06:51 CET at -7.7 degrees"},
        // 23 hours: the clocks skip 02:00 to 03:00.
        {"Europe/Berlin", 52.5, 13.366666666666667, 2027, 3, 28,
         "rise 01:27 CET\ttransit 05:45 CEST at 9.3 degrees\tset 09:00 CEST"},
        // 25 hours.
        {"Europe/Berlin", 52.5, 13.366666666666667, 2027, 10, 31,
         "rise 09:45 CET\ttransit 13:25 CET at 11.5 degrees\tset 16:59 CET"},
        // The date line: the day begins at 10:00 UTC of the day before.
        {"Pacific/Kiritimati", 1.8666666666666667, -157.33333333333334, 2027, 1, 10,
         "rise 08:06 +14\ttransit 14:14 +14 at 70.2 degrees\tset 20:23 +14"},
        // Tokyo, far from the zone's city: Berlin's day and clock.
        {"Europe/Berlin", 35.65, 139.74166666666667, 2026, 12, 7,
         "rise 21:55 CET\ttransit 01:54 CET at 30.2 degrees\tset 06:49 CET"},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.year) + "-" +
                     std::to_string(c.month) + "-" + std::to_string(c.day));
        const test::ScopedTimeZone zone(c.zone);
        PlaceSky sky(Place{c.latitude, c.longitude, "Here", PlaceSource::given});
        const auto events = sky.DayEvents(c.year, c.month, c.day);
        ASSERT_TRUE(events);
        EXPECT_EQ(RiseLine("", *events), std::string("\t") + c.line + "\n");
    }
}

// Days in a row cover time without gaps or overlaps across both
// daylight-saving changes of a year: every event of the year appears in
// exactly one local day, in time order.
TEST(MoonDay, DaysInARowMatchTheWholeSpan) {
    const test::ScopedTimeZone zone("Europe/Berlin");
    const sky::Observer berlin{52.5, 13.366666666666667};
    PlaceSky sky(Place{berlin.latitudeDeg, berlin.longitudeDeg, "Berlin", PlaceSource::given});
    std::vector<sky::MoonEvent> byDay;
    for (int d = 0; d < 365; ++d) {
        const auto date = std::chrono::year_month_day{
            std::chrono::sys_days{std::chrono::year{2027} / 1 / 1} + std::chrono::days{d}};
        const auto events =
            sky.DayEvents(static_cast<int>(date.year()), static_cast<int>(unsigned(date.month())),
                          static_cast<int>(unsigned(date.day())));
        ASSERT_TRUE(events);
        byDay.insert(byDay.end(), events->events.begin(), events->events.end());
    }
    sky::MoonTrack track(berlin);
    const auto whole = track.EventsBetween(*sky::LocalToUtcSeconds(2027, 1, 1, 0, 0, 0),
                                           *sky::LocalToUtcSeconds(2028, 1, 1, 0, 0, 0));
    ASSERT_TRUE(whole);
    ASSERT_EQ(byDay.size(), whole->events.size());
    for (std::size_t i = 0; i < byDay.size(); ++i) {
        EXPECT_EQ(byDay[i].kind, whole->events[i].kind);
        EXPECT_LE(std::llabs(byDay[i].utcSeconds - whole->events[i].utcSeconds), 1);
    }
}

} // namespace
} // namespace norvale
