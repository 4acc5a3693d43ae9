// Whole-range checks of the phase day: the cycle property, and equality with
// a step-by-step transcription of the rules that rebuilds every intermediate
// value the slow way.

#include "core/Moon.h"

#include "tests/core/CoreTestSupport.h"
#include "tests/core/LiteralRules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace norvale {
namespace {

using test::LiteralMoonAge;
using test::LiteralPhaseDay;
using test::MakeDate;

const double kFirstDay = MakeDate(1900, 1, 1).value;
const double kLastDay = MakeDate(9998, 12, 31).value;

// Counts of the principal phases within one cycle, from one 0 to the next.
struct Cycle {
    double start = -1;
    int quarters[3] = {0, 0, 0};
};

TEST(FullRangeTest, EveryCycleHasOneNewMoonAndOneOfEachQuarter) {
    Cycle cycle;
    int previous = -1;
    int cycles = 0;
    for (double day = kFirstDay; day <= kLastDay; day += 1.0) {
        const int phase = PhaseDay(DateValue{day + 0.5, DateStatus::valid});
        ASSERT_GE(phase, 0) << test::FieldsText(day);
        ASSERT_LE(phase, 27) << test::FieldsText(day);
        if (phase == 0) {
            if (cycle.start >= 0) {
                ASSERT_EQ(cycle.quarters[0], 1)
                    << "7 in the cycle from " << test::FieldsText(cycle.start);
                ASSERT_EQ(cycle.quarters[1], 1)
                    << "14 in the cycle from " << test::FieldsText(cycle.start);
                ASSERT_EQ(cycle.quarters[2], 1)
                    << "21 in the cycle from " << test::FieldsText(cycle.start);
                ++cycles;
            }
            cycle = Cycle{day, {0, 0, 0}};
        } else if (previous >= 0) {
            // Inside a cycle the phase day never falls back and never skips one.
            ASSERT_TRUE(phase == previous || phase == previous + 1) << test::FieldsText(day);
        }
        if (phase == 7 || phase == 14 || phase == 21) {
            ++cycle.quarters[phase / 7 - 1];
        }
        previous = phase;
    }
    EXPECT_NEAR(cycles, (kLastDay - kFirstDay) / SynodicMonth, 2.0);
}

// The literal rules take a few microseconds per day in a debug build, so the
// range is cut into four parts that ctest can run side by side, and each day
// is tried at one time of day, rotating through four.
class LiteralRulesPart : public testing::TestWithParam<int> {};

TEST_P(LiteralRulesPart, MatchesOnEveryDay) {
    constexpr int kParts = 4;
    const double timesOfDay[] = {0.0, 0.25, 13.5 / 24, 86399.0 / 86400};
    const double days = kLastDay - kFirstDay + 1;
    const double first = kFirstDay + std::floor(days * GetParam() / kParts);
    const double end = kFirstDay + std::floor(days * (GetParam() + 1) / kParts);
    for (double day = first; day < end; day += 1.0) {
        const DateValue v{day + timesOfDay[static_cast<int>(day) % 4], DateStatus::valid};
        ASSERT_EQ(PhaseDay(v), LiteralPhaseDay(v)) << test::FieldsText(v.value);
    }
}

INSTANTIATE_TEST_SUITE_P(WholeRange, LiteralRulesPart, testing::Range(0, 4));

TEST(FullRangeTest, MatchesTheLiteralRulesAcrossTheEpoch) {
    // Below 1899-12-30 the stored scale is mirrored; the day ends still match.
    for (double day = MakeDate(1800, 1, 1).value; day < kFirstDay; day += 1.0) {
        for (const double fraction : {0.0, 0.5, 86399.0 / 86400}) {
            const double value = day < 0 ? day - fraction : day + fraction;
            const DateValue v{value, DateStatus::valid};
            ASSERT_EQ(PhaseDay(v), LiteralPhaseDay(v)) << test::FieldsText(value);
        }
    }
}

TEST(FullRangeTest, MoonAgeMatchesTheLiteralRules) {
    // Every 97 minutes over 1899-2003, across the epoch and the reference day.
    for (double v = -400.0; v < 38000.0; v += 97.0 / 1440) {
        const double value = FromLinearDays(v);
        const DateValue at{value, DateStatus::valid};
        ASSERT_EQ(MoonAge(at), LiteralMoonAge(at)) << value;
    }
}

TEST(FullRangeTest, RangeEndsAndStatuses) {
    for (const DateValue& v :
         {MakeDate(100, 1, 2), MakeDate(9999, 12, 31, 23, 59, 59), MakeDate(9999, 1, 1, 12, 59, 59),
          DateValue{MakeDate(2002, 1, 20).value, DateStatus::invalid},
          DateValue{MakeDate(2002, 1, 20).value, DateStatus::null},
          DateValue{3e6, DateStatus::valid}}) {
        EXPECT_EQ(PhaseDay(v), LiteralPhaseDay(v)) << v.value;
    }
}

} // namespace
} // namespace norvale
