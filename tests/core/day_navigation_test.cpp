// The picker's month-wrap rule as a pure function: which day the window
// publishes for a picker change, and whether the picker is written back.

#include "core/DayNavigation.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace norvale {
namespace {

DateValue At(int year, int month, int day) {
    return test::MakeDate(year, month, day, 10);
}

std::string Text(const DateValue& v) {
    return v.Format("%Y-%m-%d");
}

TEST(CorrectDayWrap, ArmedJumpsBecomeOneDayStepsAndEverythingElsePasses) {
    struct Case {
        const char* name;
        DateValue selected;
        DateValue picked;
        bool armed;
        const char* published;
        bool rewrite;
    };
    const Case cases[] = {
        {"31 Jan, day up wraps to 1 Jan: 1 Feb", At(2027, 1, 31), At(2027, 1, 1), true,
         "2027-02-01", true},
        {"1 Mar 2008, day down wraps to 31 Mar: 29 Feb", At(2008, 3, 1), At(2008, 3, 31), true,
         "2008-02-29", true},
        {"30 Apr, day up wraps to 1 Apr: 1 May", At(2027, 4, 30), At(2027, 4, 1), true,
         "2027-05-01", true},
        {"a one-day step is taken as it is", At(2027, 1, 1), At(2027, 1, 2), true, "2027-01-02",
         false},
        {"a month step keeps the day of the month", At(2027, 1, 15), At(2027, 2, 15), true,
         "2027-02-15", false},
        {"disarmed: the wrap is taken as it is", At(2027, 1, 31), At(2027, 1, 1), false,
         "2027-01-01", false},
        {"disarmed: a typed day far away", At(2027, 1, 3), At(2027, 1, 27), false, "2027-01-27",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PickerChange change = CorrectDayWrap(c.selected, c.picked, c.armed);
        EXPECT_EQ(Text(change.day), c.published);
        EXPECT_EQ(change.day.status, DateStatus::valid);
        EXPECT_EQ(change.rewritePicker, c.rewrite);
    }
}

} // namespace
} // namespace norvale
