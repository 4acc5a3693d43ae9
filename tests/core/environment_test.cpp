// The same answers whatever the local time zone and the process locale.

#include "core/Moon.h"
#include "core/Texts.h"
#include "tests/support/TestSupport.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <ostream>
#include <string>

namespace norvale {
namespace {

using test::MakeDate;

// Every text and number the core derives from a few fixed days, in one string.
std::string Fingerprint() {
    std::string out;
    for (int day = 1; day <= 31; ++day) {
        out += std::to_string(PhaseDay(MakeDate(2002, 1, day, 12))) + ' ';
    }
    for (const DateValue& v : {MakeDate(2002, 1, 20, 16, 29), MakeDate(2002, 1, 13, 16, 29),
                               MakeDate(2026, 12, 6, 12), MakeDate(1899, 12, 29, 6)}) {
        out += AgeText(v) + '|' + IlluminationText(v) + '|' + v.Format("%d %b %B, %a %A %p %j") +
               '|' + FixedText(MoonAge(v), 6) + '\n';
    }
    return out;
}

// 2026-12-06 05:00 UTC is 6 December in every zone below.
const std::int64_t kNow = test::UnixSeconds(2026, 12, 6, 5, 0, 0);

struct ZoneCase {
    const char* zone;
    const char* referenceLocal; // 2002-01-13 13:29:00 UTC on the local wall clock
};

void PrintTo(const ZoneCase& c, std::ostream* os) {
    *os << c.zone;
}

class TimeZoneTest : public testing::TestWithParam<ZoneCase> {};

TEST_P(TimeZoneTest, SameAnswersAndLocalNow) {
    std::string inUtc;
    {
        test::ScopedTimeZone zone("UTC");
        inUtc = Fingerprint();
    }
    test::ScopedTimeZone zone(GetParam().zone);
    EXPECT_EQ(Fingerprint(), inUtc);

    DateValue local;
    local.FromUnixTime(test::UnixSeconds(2002, 1, 13, 13, 29));
    EXPECT_EQ(local.status, DateStatus::valid);
    EXPECT_EQ(test::FieldsText(local.value), GetParam().referenceLocal);

    const test::ScopedOverride clock(ClockSeam(), test::FixedClock(kNow));
    EXPECT_EQ(DayCaption(MakeDate(2026, 12, 6, 23, 59, 59)), "Today: 06 Dec, Sunday");
    EXPECT_EQ(DayCaption(MakeDate(2026, 12, 5)), "History: 05 Dec, Saturday");
    EXPECT_EQ(DayCaption(MakeDate(2026, 12, 7)), "Future: 07 Dec, Monday");
}

INSTANTIATE_TEST_SUITE_P(
    Zones, TimeZoneTest,
    testing::Values(ZoneCase{"UTC", "2002-01-13 13:29:00"},
                    ZoneCase{"America/St_Johns", "2002-01-13 09:59:00"},     // -3:30
                    ZoneCase{"Pacific/Kiritimati", "2002-01-14 03:29:00"},   // +14
                    ZoneCase{"Australia/Lord_Howe", "2002-01-14 00:29:00"}), // +11 in summer
    [](const testing::TestParamInfo<ZoneCase>& param) {
        std::string name = param.param.zone;
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        return name;
    });

TEST(LocaleTest, GermanDecimalCommaAndMonthNamesChangeNothing) {
    const std::string inC = Fingerprint();
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    }
    const std::string inGerman = Fingerprint();
    const DateValue v = MakeDate(2002, 1, 20, 16, 29);
    const std::string age = AgeText(v);
    const std::string illumination = IlluminationText(v);
    const std::string month = MakeDate(2026, 3, 6).Format("%b %B %a");
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(inGerman, inC);
    EXPECT_EQ(age, "7.13 day, First Quarter");
    EXPECT_EQ(illumination, "48.3% illuminated");
    EXPECT_EQ(month, "Mar March Fri");
}

} // namespace
} // namespace norvale
