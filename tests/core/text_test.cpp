#include "core/Moon.h"
#include "core/Texts.h"
#include "tests/support/TestSupport.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

namespace norvale {
namespace {

using test::MakeDate;

TEST(FixedTextTest, SeventeenDigitsThenHalfUp) {
    struct Row {
        double x;
        int decimals;
        const char* text;
    };
    const Row rows[] = {
        {7.125, 2, "7.13"}, // exact half: away from zero, unlike printf
        {0.125, 2, "0.13"},
        {-7.125, 2, "-7.13"},
        {2.5, 0, "3"},
        {0.5, 0, "1"},
        {2.675, 2, "2.67"}, // 2.67499999999999982...
        {1.005, 2, "1.00"}, // 1.00499999999999989...
        {0.045, 2, "0.04"},
        {99.95, 1, "100.0"}, // 99.950000000000003 carries into a new digit
        {9.9999, 2, "10.00"},
        {0.0, 2, "0.00"},
        {-0.0, 1, "-0.0"},
        {-0.001, 2, "-0.00"},
        {1e-20, 2, "0.00"},
        {46.75, 1, "46.8"},
        {123456789.125, 2, "123456789.13"},
        {1e20, 1, "100000000000000000000.0"},
        {29.488922333333331, 2, "29.49"},
        {3.0, 3, "3.000"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(FixedText(r.x, r.decimals), r.text) << r.x;
    }
    EXPECT_EQ(FixedText(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(FixedText(std::numeric_limits<double>::quiet_NaN(), 2), "nan");
    EXPECT_EQ(FixedText(1.5, -3), "2");
    EXPECT_EQ(FixedText(1.0, INT_MAX).size(), 2u + 400u);
}

class FormatTest : public testing::Test {
protected:
    // Sunday 2026-12-06 08:05:09, day 340 of the year.
    const DateValue m_morning = MakeDate(2026, 12, 6, 8, 5, 9);
};

TEST_F(FormatTest, EveryConversion) {
    struct Row {
        const char* pattern;
        const char* text;
    };
    const Row rows[] = {
        {"%d", "06"},
        {"%m", "12"},
        {"%Y", "2026"},
        {"%y", "26"},
        {"%C", "20"},
        {"%b", "Dec"},
        {"%h", "Dec"},
        {"%B", "December"},
        {"%a", "Sun"},
        {"%A", "Sunday"},
        {"%H", "08"},
        {"%I", "08"},
        {"%M", "05"},
        {"%S", "09"},
        {"%j", "340"},
        {"%p", "AM"},
        {"%e", " 6"},
        {"%u", "7"},
        {"%w", "0"},
        {"%%", "%"},
        {"%D", "12/06/26"},
        {"%F", "2026-12-06"},
        {"%T", "08:05:09"},
        {"%R", "08:05"},
        {"%n%t", "\n\t"},
        {"", ""},
        {"plain", "plain"},
        // Unknown conversions and a lone trailing % are copied as they stand.
        {"%Q %K", "%Q %K"},
        {"100%", "100%"},
        {"%d %b, %A", "06 Dec, Sunday"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(m_morning.Format(r.pattern), r.text) << r.pattern;
    }
}

TEST_F(FormatTest, HoursYearsAndRangeEnds) {
    struct Row {
        DateValue at;
        const char* pattern;
        const char* text;
    };
    const Row rows[] = {
        {MakeDate(2026, 12, 6, 0, 0, 0), "%I %p %j", "12 AM 340"},
        {MakeDate(2026, 12, 6, 12, 0, 0), "%I %p", "12 PM"},
        {MakeDate(2026, 12, 6, 20, 30, 0), "%I:%M %p", "08:30 PM"},
        {MakeDate(2024, 12, 31, 23, 59, 59), "%j %H:%M:%S", "366 23:59:59"},
        {MakeDate(1900, 1, 1, 12, 59, 59), "%d.%b.%Y", "01.Jan.1900"},
        {MakeDate(9999, 1, 1, 12, 59, 59), "%d/%m/%Y", "01/01/9999"},
        {MakeDate(100, 1, 1), "%Y %y %C", "100 00 01"},
        {MakeDate(1899, 12, 29, 6), "%Y-%m-%d %H:%M", "1899-12-29 06:00"},
        // The time is rounded to the nearest second before it is shown.
        {DateValue{MakeDate(2024, 12, 31).value + 86399.6 / 86400, DateStatus::valid},
         "%Y-%m-%d %H:%M:%S", "2025-01-01 00:00:00"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.at.Format(r.pattern), r.text) << r.pattern;
    }
}

TEST_F(FormatTest, StatusesAndUnshowableValues) {
    for (const char* pattern : {"%d-%b-%Y", "", "plain"}) {
        EXPECT_EQ((DateValue{m_morning.value, DateStatus::null}.Format(pattern)), "") << pattern;
        EXPECT_EQ((DateValue{m_morning.value, DateStatus::invalid}.Format(pattern)),
                  "Invalid DateTime")
            << pattern;
        EXPECT_EQ((DateValue{5e6, DateStatus::valid}.Format(pattern)), "Invalid DateTime");
        EXPECT_EQ((DateValue{std::numeric_limits<double>::quiet_NaN(), DateStatus::valid}.Format(
                      pattern)),
                  "Invalid DateTime");
    }
}

TEST_F(FormatTest, ResultIsAtMostTwoHundredFiftyFiveCharacters) {
    EXPECT_EQ(m_morning.Format(std::string(300, 'x')), std::string(255, 'x'));
    std::string months;
    for (int i = 0; i < 40; ++i) {
        months += "%B";
    }
    const std::string text = m_morning.Format(months);
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 16), "DecemberDecember");
}

TEST(DateFormatPatternTest, RowsAndFallback) {
    struct Row {
        int index;
        const char* picker;
        const char* text;
        const char* example; // 2026-12-06 in the text pattern
    };
    const Row rows[] = {
        {0, "dd/MM/yyyy", "%d/%m/%Y", "06/12/2026"},
        {1, "dd/MMM/yyyy", "%d/%b/%Y", "06/Dec/2026"},
        {2, "dd.MM.yyyy", "%d.%m.%Y", "06.12.2026"},
        {3, "dd.MMM.yyyy", "%d.%b.%Y", "06.Dec.2026"},
        {4, "dd-MM-yyyy", "%d-%m-%Y", "06-12-2026"},
        {5, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
        {-1, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
        {6, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
        {9, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
        {INT_MIN, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
        {INT_MAX, "dd-MMM-yyyy", "%d-%b-%Y", "06-Dec-2026"},
    };
    const DateValue day = MakeDate(2026, 12, 6, 21, 0, 0);
    for (const Row& r : rows) {
        EXPECT_EQ(DateFormatPattern(r.index, true), r.picker) << r.index;
        EXPECT_EQ(DateFormatPattern(r.index, false), r.text) << r.index;
        EXPECT_EQ(day.Format(DateFormatPattern(r.index, false)), r.example) << r.index;
    }
}

TEST(DayCaptionTest, ComparesWholeCalendarDatesWithAFixedNow) {
    test::ScopedTimeZone zone("UTC");
    struct Row {
        DateValue shown;
        const char* caption;
    };
    const Row rows[] = {
        {MakeDate(2026, 12, 6, 23, 59, 59), "Today: 06 Dec, Sunday"},
        {MakeDate(2026, 12, 6, 0, 0, 0), "Today: 06 Dec, Sunday"},
        {MakeDate(2026, 12, 5, 23, 59, 59), "History: 05 Dec, Saturday"},
        {MakeDate(2026, 12, 7), "Future: 07 Dec, Monday"},
        {MakeDate(1926, 12, 6), "History: 06 Dec, Monday"},
        {MakeDate(2126, 12, 6), "Future: 06 Dec, Friday"},
        {MakeDate(2025, 12, 31), "History: 31 Dec, Wednesday"},
        {MakeDate(2027, 1, 1), "Future: 01 Jan, Friday"},
        {MakeDate(2026, 11, 30), "History: 30 Nov, Monday"},
        {MakeDate(2025, 12, 7), "History: 07 Dec, Sunday"}, // year first
        {MakeDate(2027, 11, 5), "Future: 05 Nov, Friday"},
    };
    for (const std::int64_t now :
         {test::UnixSeconds(2026, 12, 6, 0, 0, 0), test::UnixSeconds(2026, 12, 6, 8, 15),
          test::UnixSeconds(2026, 12, 6, 23, 59, 59)}) {
        const test::ScopedOverride clock(ClockSeam(), test::FixedClock(now));
        for (const Row& r : rows) {
            EXPECT_EQ(DayCaption(r.shown), r.caption) << now;
        }
    }
}

TEST(DayCaptionTest, FollowsTheClockOverMidnight) {
    test::ScopedTimeZone zone("UTC");
    const DateValue shown = MakeDate(2026, 12, 6, 12);
    std::int64_t now = test::UnixSeconds(2026, 12, 6, 23, 59, 59);
    const test::ScopedOverride clock(ClockSeam(), [&now] { return now; });
    EXPECT_EQ(DayCaption(shown), "Today: 06 Dec, Sunday");
    ++now;
    EXPECT_EQ(DayCaption(shown), "History: 06 Dec, Sunday");
}

} // namespace
} // namespace norvale
