#include "core/DateValue.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>

namespace norvale {
namespace {

using test::FieldsText;
using test::MakeDate;

constexpr double kUntouched = 123.5; // what a value held before a failed construction
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(DateValueTest, DefaultIsTheEpochAndValid) {
    const DateValue v;
    EXPECT_EQ(v.value, 0.0);
    EXPECT_EQ(v.status, DateStatus::valid);
    EXPECT_EQ(FieldsText(v.value), "1899-12-30 00:00:00");
}

struct Construction {
    int year, month, day, hour, minute, second;
    DateStatus status;
    const char* shows; // the value's calendar reading, or nullptr when left untouched
};

void PrintTo(const Construction& c, std::ostream* os) {
    *os << c.year << '-' << c.month << '-' << c.day << ' ' << c.hour << ':' << c.minute << ':'
        << c.second;
}

class FromFieldsTest : public testing::TestWithParam<Construction> {};

TEST_P(FromFieldsTest, SetsValueAndStatus) {
    const Construction& c = GetParam();
    DateValue v{kUntouched, DateStatus::valid};
    v.FromFields(c.year, c.month, c.day, c.hour, c.minute, c.second);
    EXPECT_EQ(v.status, c.status);
    if (c.shows == nullptr) {
        EXPECT_EQ(v.value, kUntouched);
    } else {
        EXPECT_EQ(FieldsText(v.value), c.shows);
    }
}

constexpr DateStatus V = DateStatus::valid;
constexpr DateStatus I = DateStatus::invalid;

INSTANTIATE_TEST_SUITE_P(
    Table, FromFieldsTest,
    testing::Values(Construction{2002, 1, 13, 13, 29, 0, V, "2002-01-13 13:29:00"},
                    Construction{2024, 2, 29, 0, 0, 0, V, "2024-02-29 00:00:00"},
                    Construction{2000, 2, 29, 0, 0, 0, V, "2000-02-29 00:00:00"},
                    Construction{9999, 12, 31, 23, 59, 59, V, "9999-12-31 23:59:59"},
                    Construction{100, 1, 1, 0, 0, 0, V, "0100-01-01 00:00:00"},
                    Construction{1899, 12, 29, 6, 0, 0, V, "1899-12-29 06:00:00"},
                    // Days past the month's end roll over; day 0 is the day before the 1st.
                    Construction{2024, 2, 30, 0, 0, 0, I, "2024-03-01 00:00:00"},
                    Construction{2023, 2, 29, 0, 0, 0, I, "2023-03-01 00:00:00"},
                    Construction{1900, 2, 29, 0, 0, 0, I, "1900-03-01 00:00:00"},
                    Construction{2024, 4, 31, 0, 0, 0, I, "2024-05-01 00:00:00"},
                    Construction{2024, 3, 0, 23, 59, 59, I, "2024-02-29 23:59:59"},
                    Construction{2025, 1, 0, 23, 59, 59, I, "2024-12-31 23:59:59"},
                    Construction{1900, 1, 0, 23, 59, 59, I, "1899-12-31 23:59:59"},
                    // Failures leave the value as it was.
                    Construction{-1, -1, -1, 23, 59, 59, I, nullptr},
                    Construction{2024, 13, 1, 0, 0, 0, I, nullptr},
                    Construction{2024, 1, 32, 0, 0, 0, I, nullptr},
                    Construction{10000, 1, 1, 0, 0, 0, I, nullptr},
                    Construction{2024, 0, 1, 0, 0, 0, I, nullptr},
                    Construction{2024, 1, 1, 24, 0, 0, I, nullptr},
                    Construction{2024, 1, 1, 0, 60, 0, I, nullptr},
                    Construction{2024, 1, 1, 0, 0, 60, I, nullptr},
                    Construction{99, 12, 31, 0, 0, 0, I, nullptr},
                    Construction{100, 1, 0, 0, 0, 0, I, nullptr}));

TEST(DateValueTest, DayNumbersOfKnownDays) {
    struct Row {
        int year, month, day;
        double value;
    };
    const Row rows[] = {{1899, 12, 30, 0.0},      {1900, 1, 1, 2.0},       {1970, 1, 1, 25569.0},
                        {2002, 1, 13, 37269.0},   {9999, 1, 1, 2958101.0}, {100, 1, 1, -657434.0},
                        {9999, 12, 31, 2958465.0}};
    for (const Row& r : rows) {
        EXPECT_EQ(MakeDate(r.year, r.month, r.day).value, r.value) << r.year << '-' << r.month;
    }
    EXPECT_EQ(MakeDate(2002, 1, 13, 13, 29, 0).value, 37269.56180555555);
    // Below the epoch the fraction takes the sign of the day part.
    EXPECT_EQ(MakeDate(1899, 12, 29, 6, 0, 0).value, -1.25);
    EXPECT_EQ(MakeDate(1899, 12, 28, 18, 0, 0).value, -2.75);
}

TEST(DateValueTest, FieldsAreKeptAsSixteenBits) {
    // 2000 + 65536 wraps to the year 2000, exactly as the calendar record holds it.
    EXPECT_EQ(FieldsText(MakeDate(2000 + 65536, 1, 1).value), "2000-01-01 00:00:00");
}

struct Split {
    double value;
    const char* shows;
};

TEST(DaysToFieldsTest, RoundsToTheNearestSecondWithCarry) {
    const Split rows[] = {
        {-1.25, "1899-12-29 06:00:00"},
        {-0.25, "1899-12-30 06:00:00"},
        {-1.5, "1899-12-29 12:00:00"},
        {2.0 + 1.4 / 86400, "1900-01-01 00:00:01"},
        {2.0 + 1.6 / 86400, "1900-01-01 00:00:02"},
        {0.99999999, "1899-12-31 00:00:00"},
        {-1.99999999, "1899-12-30 00:00:00"},
        {37269.0 + 86399.6 / 86400, "2002-01-14 00:00:00"},
        {MakeDate(2002, 1, 31).value + 86399.7 / 86400, "2002-02-01 00:00:00"},
        {MakeDate(2024, 12, 31).value + 86399.6 / 86400, "2025-01-01 00:00:00"},
        {MakeDate(2024, 12, 31).value + 86399.4 / 86400, "2024-12-31 23:59:59"},
        {-657434.5, "0100-01-01 12:00:00"},
        {2958465.99998, "9999-12-31 23:59:58"},
    };
    for (const Split& r : rows) {
        EXPECT_EQ(FieldsText(r.value), r.shows) << r.value;
    }
}

TEST(DaysToFieldsTest, FailsOutsideTheSupportedYears) {
    for (const double value :
         {-657435.0, -657435.5, 2958466.0, 2958465.999999999, kNaN, kInf, -kInf, 1e300, -1e300}) {
        SystemTime fields;
        EXPECT_FALSE(DaysToFields(value, fields)) << value;
    }
}

TEST(DaysToFieldsTest, FillsWeekdayAndDayOfYear) {
    struct Row {
        int year, month, day;
        int weekday, dayOfYear;
    };
    const Row rows[] = {{2026, 12, 6, 0, 340}, {2024, 12, 31, 2, 366}, {2023, 12, 31, 0, 365},
                        {2024, 3, 1, 5, 61},   {1900, 1, 1, 1, 1},     {1899, 12, 29, 5, 363},
                        {100, 1, 1, 5, 1}};
    for (const Row& r : rows) {
        SystemTime fields;
        int dayOfYear = 0;
        ASSERT_TRUE(DaysToFields(MakeDate(r.year, r.month, r.day).value, fields, &dayOfYear));
        EXPECT_EQ(fields.wDayOfWeek, r.weekday) << r.year << '-' << r.month << '-' << r.day;
        EXPECT_EQ(dayOfYear, r.dayOfYear) << r.year << '-' << r.month << '-' << r.day;
        EXPECT_EQ(fields.wMilliseconds, 0);
    }
}

TEST(DateValueTest, FieldAccessorsNeedAValidStatus) {
    const DateValue shown = MakeDate(2026, 12, 6, 8, 15, 0);
    EXPECT_EQ(shown.Year(), 2026);
    EXPECT_EQ(shown.Month(), 12);
    EXPECT_EQ(shown.Day(), 6);

    const DateValue invalid{shown.value, DateStatus::invalid};
    SystemTime fields;
    EXPECT_FALSE(invalid.ToFields(fields));
    EXPECT_EQ(invalid.Year(), -1);
    EXPECT_EQ(invalid.Month(), -1);
    EXPECT_EQ(invalid.Day(), -1);

    const DateValue outOfRange{5e6, DateStatus::valid};
    EXPECT_EQ(outOfRange.Day(), -1);
}

TEST(DateValueTest, EndOfDay) {
    const DateValue end = MakeDate(2026, 12, 6, 8, 15, 0).EndOfDay();
    EXPECT_EQ(end.status, DateStatus::valid);
    EXPECT_EQ(FieldsText(end.value), "2026-12-06 23:59:59");
    EXPECT_EQ(FieldsText(DateValue{-1.25, DateStatus::valid}.EndOfDay().value),
              "1899-12-29 23:59:59");

    const DateValue fromInvalid =
        DateValue{MakeDate(2026, 12, 6).value, DateStatus::invalid}.EndOfDay();
    EXPECT_EQ(fromInvalid.status, DateStatus::invalid);
    EXPECT_EQ(fromInvalid.value, 0.0);
}

TEST(DateValueTest, StepsKeepTheTimeOfDayAcrossMonthYearAndEpoch) {
    struct Row {
        DateValue from;
        double span;
        const char* shows;
    };
    const Row rows[] = {
        {MakeDate(2024, 2, 28, 10), 1.0, "2024-02-29 10:00:00"},
        {MakeDate(2024, 2, 29, 10), 1.0, "2024-03-01 10:00:00"},
        {MakeDate(2024, 12, 31, 10), 1.0, "2025-01-01 10:00:00"},
        {MakeDate(2025, 1, 1, 10), -1.0, "2024-12-31 10:00:00"},
        {MakeDate(1899, 12, 29, 12), 1.0, "1899-12-30 12:00:00"},
        {MakeDate(1899, 12, 30, 12), -1.0, "1899-12-29 12:00:00"},
        {MakeDate(1899, 12, 30, 6), -1.0, "1899-12-29 06:00:00"},
        {DateValue{-1.25, DateStatus::valid}, 0.25, "1899-12-29 12:00:00"},
        {DateValue{-1.25, DateStatus::valid}, -0.25, "1899-12-29 00:00:00"},
    };
    for (const Row& r : rows) {
        const DateSpan step{r.span, DateStatus::valid};
        EXPECT_EQ(FieldsText((r.from + step).value), r.shows) << r.from.value << " + " << r.span;
        EXPECT_EQ(FieldsText((r.from - DateSpan{-r.span, DateStatus::valid}).value), r.shows);
    }
    // The linear count of -1.25 is -0.75: adding 0.25 moves to -1.5 (12:00).
    EXPECT_EQ((DateValue{-1.25, DateStatus::valid} + DateSpan{0.25, DateStatus::valid}).value,
              -1.5);
}

TEST(DateValueTest, ArithmeticStatuses) {
    const DateValue invalid{MakeDate(2024, 2, 28).value, DateStatus::invalid};
    EXPECT_EQ((invalid + OneDay).status, DateStatus::valid);
    EXPECT_EQ((invalid - OneDay).status, DateStatus::valid);

    DateValue stepped = invalid;
    stepped += OneDay;
    EXPECT_EQ(stepped.status, DateStatus::invalid);
    EXPECT_EQ(FieldsText(stepped.value), "2024-02-29 00:00:00");
    stepped -= OneDay;
    stepped -= OneDay;
    EXPECT_EQ(stepped.status, DateStatus::invalid);
    EXPECT_EQ(FieldsText(stepped.value), "2024-02-27 00:00:00");

    const DateValue null{MakeDate(2024, 2, 28).value, DateStatus::null};
    EXPECT_EQ((null + OneDay).status, DateStatus::valid);
}

TEST(DateValueTest, DifferenceUsesLinearDaysAndItsBounds) {
    const DateSpan d = DateValue{0.0, DateStatus::valid} - DateValue{-1.25, DateStatus::valid};
    EXPECT_EQ(d.span, 0.75);

    struct Row {
        double a, b;
        DateStatus status;
    };
    const Row rows[] = {{3615897.0, 0.0, V}, {3615897.5, 0.0, I},  {0.0, 3615897.0, V},
                        {0.0, 3615897.5, I}, {-1.0, 3615896.0, V}, {1e300, 0.0, I},
                        {kNaN, 0.0, I},      {kInf, 0.0, I}};
    for (const Row& r : rows) {
        EXPECT_EQ((DateValue{r.a, DateStatus::invalid} - DateValue{r.b, DateStatus::null}).status,
                  r.status)
            << r.a << " - " << r.b;
    }
}

TEST(DateSpanTest, TotalsNudgeByHalfASecondThenTruncate) {
    struct Row {
        DateSpan span;
        double hours, minutes, seconds;
    };
    const Row rows[] = {
        {DateSpan{0, 0, 59, 59}, 0, 59, 3599},
        {DateSpan{0, 0, -59, -59}, 0, -59, -3599},
        {DateSpan{0, 25, 0, 0}, 25, 1500, 90000},
        {DateSpan{0, 1, 29, 59}, 1, 89, 5399},
        {DateSpan{0, -1, -30, 0}, -1, -90, -5400},
        {DateSpan{0, 0, 0, 1}, 0, 0, 1},
        {DateSpan{0, 0, 0, -1}, 0, 0, -1},
        {DateSpan{1, 0, 0, 0}, 24, 1440, 86400},
        {DateSpan{0, 3, 0, 0}, 3, 180, 10800},
        // 3 h between two stored values is a hair short of 0.125 days.
        {MakeDate(2002, 1, 13, 16, 29) - MakeDate(2002, 1, 13, 13, 29), 3, 180, 10800},
        {MakeDate(2002, 1, 13, 13, 29) - MakeDate(2002, 1, 13, 16, 29), -3, -180, -10800},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.span.TotalHours(), r.hours) << r.span.span;
        EXPECT_EQ(r.span.TotalMinutes(), r.minutes) << r.span.span;
        EXPECT_EQ(r.span.TotalSeconds(), r.seconds) << r.span.span;
    }
}

TEST(DateSpanTest, TotalsBeyondThirtyTwoBitsSaturate) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    struct Row {
        double span;
        double hours, seconds;
    };
    const Row rows[] = {{1e12, kMax, kMax},  {-1e12, kMin, kMin}, {kInf, kMax, kMax},
                        {-kInf, kMin, kMin}, {kNaN, 0, 0},        {30000.0, 720000, kMax}};
    for (const Row& r : rows) {
        const DateSpan s{r.span, DateStatus::valid};
        EXPECT_EQ(s.TotalHours(), r.hours) << r.span;
        EXPECT_EQ(s.TotalSeconds(), r.seconds) << r.span;
    }
}

TEST(ElapsedTest, UnitsAndUnknownUnitAsDays) {
    const DateValue from = MakeDate(2002, 1, 13, 13, 29);
    const DateValue to = MakeDate(2002, 1, 14, 15, 0, 30);
    EXPECT_EQ(Elapsed(from, to, TimeUnit::days), 25.0 / 24);
    EXPECT_EQ(Elapsed(from, to, TimeUnit::hours), 25.0);
    EXPECT_EQ(Elapsed(from, to, TimeUnit::minutes), 1531.0);
    EXPECT_EQ(Elapsed(from, to, TimeUnit::seconds), 91890.0);
    EXPECT_EQ(Elapsed(from, to, static_cast<TimeUnit>(7)), 25.0 / 24);
    EXPECT_EQ(Elapsed(to, from, TimeUnit::days), -25.0 / 24);
}

TEST(FloorModTest, FloorSemantics) {
    struct Row {
        double a, b, result;
    };
    const Row rows[] = {{-13.0 / 24, 29.530589, 28.98892233333333},
                        {29.530589, 29.530589, 0.0},
                        {5.0, 3.0, 2.0},
                        {-5.0, 3.0, 1.0},
                        {-6.0, 3.0, 0.0},
                        {0.0, 29.530589, 0.0}};
    for (const Row& r : rows) {
        EXPECT_EQ(FloorMod(r.a, r.b), r.result) << r.a << " mod " << r.b;
    }
}

TEST(FloorModTest, HugeAndNonFiniteInputsAreDefined) {
    // The quotient saturates to 32 bits; the results are only required to exist.
    EXPECT_EQ(FloorMod(1e300, 1.0), 1e300 - 2147483647.0);
    EXPECT_EQ(FloorMod(-1e300, 1.0), -1e300 + 2147483648.0);
    EXPECT_TRUE(std::isnan(FloorMod(kNaN, 1.0)));
    EXPECT_EQ(FloorMod(1.0, 0.0), 1.0);
}

TEST(LinearDaysTest, BelowTheEpochTheScaleIsMirrored) {
    struct Row {
        double value, linear;
    };
    const Row rows[] = {{-1.25, -0.75}, {-1.75, -0.25}, {-1.0, -1.0}, {-0.25, 0.25},
                        {0.0, 0.0},     {2.5, 2.5},     {-2.5, -1.5}};
    for (const Row& r : rows) {
        EXPECT_EQ(LinearDays(r.value), r.linear) << r.value;
        if (r.value != -0.25) { // -0.25 shows the same instant as 0.25
            EXPECT_EQ(FromLinearDays(r.linear), r.value) << r.linear;
        }
    }
}

} // namespace
} // namespace norvale
