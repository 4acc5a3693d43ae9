#include "core/Moon.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace norvale {
namespace {

using test::MakeDate;

TEST(MoonConstantsTest, ReferenceAndStep) {
    const DateValue reference = ReferenceNewMoon();
    EXPECT_EQ(reference.status, DateStatus::valid);
    EXPECT_EQ(reference.value, 37269.56180555555);
    EXPECT_EQ(PhaseStep, 1.0546638928571428);
    EXPECT_EQ(7 * PhaseStep, 7.38264725);
    EXPECT_EQ(21 * PhaseStep, 22.147941749999998);
    EXPECT_EQ(28 * PhaseStep, SynodicMonth);
}

struct AgeCase {
    DateValue at;
    double age;
};

TEST(MoonAgeTest, WholeHourBucketsAroundTheReference) {
    const AgeCase rows[] = {
        {MakeDate(2002, 1, 13, 13, 29, 0), 0.0},
        {MakeDate(2002, 1, 13, 14, 28, 59), 0.0},
        {MakeDate(2002, 1, 13, 14, 29, 0), 0.041666666666666664},
        {MakeDate(2002, 1, 13, 12, 29, 1), 0.0},
        {MakeDate(2002, 1, 13, 12, 29, 0), 29.48892233333333},
        {MakeDate(2002, 1, 13, 12, 0, 0), 29.48892233333333},
        // Day ends used by the phase day of January 2002 and January 2003.
        {MakeDate(2002, 1, 11, 23, 59, 59), 27.98892233333333},
        {MakeDate(2002, 1, 12, 23, 59, 59), 28.98892233333333},
        {MakeDate(2002, 1, 13, 23, 59, 59), 0.4166666666666667},
        {MakeDate(2002, 1, 20, 23, 59, 59), 7.416666666666667},
        {MakeDate(2002, 1, 21, 23, 59, 59), 8.416666666666666},
        {MakeDate(2002, 1, 31, 23, 59, 59), 18.416666666666668},
        {MakeDate(2002, 2, 28, 23, 59, 59), 16.886077666666665},
        {MakeDate(2003, 1, 1, 23, 59, 59), 28.58018766666669},
        {MakeDate(2003, 1, 2, 23, 59, 59), 0.04959866666666812},
        {MakeDate(2003, 1, 3, 23, 59, 59), 1.0495986666666681},
        {MakeDate(2002, 1, 20, 16, 29, 0), 7.125},
    };
    for (const AgeCase& r : rows) {
        EXPECT_EQ(MoonAge(r.at), r.age) << test::FieldsText(r.at.value);
    }
}

TEST(MoonAgeTest, StaysWithinOneCycleEverywhere) {
    // Every 7 h 13 min from 1899 to 2030 and a few far instants, the status ignored.
    for (double v = -400.0; v < 47500.0; v += 433.0 / 1440) {
        const double age = MoonAge(DateValue{v, DateStatus::invalid});
        ASSERT_GE(age, 0.0) << v;
        ASSERT_LT(age, SynodicMonth) << v;
    }
    for (const double v : {-657434.0, 2958465.99, 1e9, -1e9}) {
        const double age = MoonAge(DateValue{v, DateStatus::valid});
        EXPECT_GE(age, 0.0) << v;
        EXPECT_LT(age, SynodicMonth) << v;
    }
}

TEST(PhaseDayTest, JanuaryTwoThousandTwoAtAnyTimeOfDay) {
    const int expected[31] = {17, 18, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 0,  1,  2, 3,
                              4,  5,  6,  7,  8,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17};
    for (int day = 1; day <= 31; ++day) {
        for (const auto& [hour, minute, second] :
             {std::tuple{0, 0, 0}, {12, 0, 0}, {13, 29, 0}, {23, 59, 59}}) {
            EXPECT_EQ(PhaseDay(MakeDate(2002, 1, day, hour, minute, second)), expected[day - 1])
                << "2002-01-" << day << ' ' << hour << ':' << minute;
        }
    }
}

TEST(PhaseDayTest, RuleSixMonthStartsAndRoundedDayEnds) {
    struct Row {
        DateValue at;
        int phase;
    };
    const Row rows[] = {
        {MakeDate(2003, 1, 2), 0},
        {MakeDate(2003, 1, 3), 1},
        {MakeDate(2002, 2, 1), 18},
        {MakeDate(2002, 3, 1), 16},
        // 2002-01-12 23:59:59.6 shows as 2002-01-13 00:00:00, the new-moon day.
        {DateValue{MakeDate(2002, 1, 12).value + 86399.6 / 86400, DateStatus::valid}, 0},
        {DateValue{MakeDate(2002, 1, 12).value + 86399.4 / 86400, DateStatus::valid}, 27},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(PhaseDay(r.at), r.phase) << test::FieldsText(r.at.value);
    }
}

TEST(PhaseDayTest, MinusOneWhenTheDayCannotBeHad) {
    const double shown = MakeDate(2002, 1, 20).value;
    EXPECT_EQ(PhaseDay(DateValue{shown, DateStatus::invalid}), -1);
    EXPECT_EQ(PhaseDay(DateValue{shown, DateStatus::null}), -1);
    EXPECT_EQ(PhaseDay(DateValue{5e6, DateStatus::valid}), -1);
    EXPECT_EQ(PhaseDay(DateValue{-1e6, DateStatus::valid}), -1);
}

TEST(PhaseNameTest, EveryStretch) {
    struct Row {
        int first, last;
        const char* name;
    };
    const Row rows[] = {
        {0, 0, "New Moon"},        {1, 6, "Waxing Crescent"},   {7, 7, "First Quarter"},
        {8, 13, "Waxing Gibbous"}, {14, 14, "Full Moon"},       {15, 20, "Waning Gibbous"},
        {21, 21, "Last Quarter"},  {22, 40, "Waning Crescent"}, {-5, -1, ""}};
    for (const Row& r : rows) {
        for (int day = r.first; day <= r.last; ++day) {
            EXPECT_EQ(PhaseName(day), r.name) << day;
        }
    }
}

TEST(PhaseTextsTest, AgeAndIllumination) {
    struct Row {
        DateValue at;
        const char* age;
        const char* illumination;
    };
    const Row rows[] = {
        {MakeDate(2002, 1, 13, 13, 29, 0), "0.00 day, New Moon", "0.0% illuminated"},
        {MakeDate(2002, 1, 13, 12, 0, 0), "29.49 day, New Moon", "0.3% illuminated"},
        {MakeDate(2002, 1, 13, 16, 29, 0), "0.13 day, New Moon", "0.8% illuminated"},
        {MakeDate(2002, 1, 20, 12, 0, 0), "6.92 day, First Quarter", "46.8% illuminated"},
        {MakeDate(2002, 1, 20, 16, 29, 0), "7.13 day, First Quarter", "48.3% illuminated"},
        {MakeDate(2002, 1, 28, 12, 0, 0), "14.92 day, Full Moon", "99.0% illuminated"},
        {MakeDate(2026, 12, 6, 12, 0, 0), "27.03 day, Waning Crescent", "17.0% illuminated"},
        // No phase day: the age alone.
        {DateValue{37269.56180555555, DateStatus::invalid}, "0.00 day", "0.0% illuminated"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AgeText(r.at), r.age) << test::FieldsText(r.at.value);
        EXPECT_EQ(IlluminationText(r.at), r.illumination) << test::FieldsText(r.at.value);
    }
}

TEST(PhaseTextsTest, IlluminationNeverExceedsOneHundred) {
    // Every hour over two cycles around the full moons of 2002.
    const double start = MakeDate(2002, 1, 13).value;
    for (int hour = 0; hour < 24 * 60; ++hour) {
        const std::string text =
            IlluminationText(DateValue{start + hour / 24.0, DateStatus::valid});
        ASSERT_LE(std::stod(text), 100.0) << text;
        ASSERT_GE(std::stod(text), 0.0) << text;
    }
}

} // namespace
} // namespace norvale
