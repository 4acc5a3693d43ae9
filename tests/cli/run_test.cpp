// norvale-cli driven in-process with a fixed clock (the tests run with TZ=UTC).
#include "cli/Output.h"
#include "cli/Run.h"
#include "cli/SkyAnswers.h"
#include "core/Clock.h"
#include "core/DateValue.h"
#include "skytext/SkyText.h"
#include "tests/cli/run_fixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace norvale::cli {
namespace {

TEST_F(CliRun, ThreeLinesForAChosenDayAndTime) {
    const Outcome r = RunWith({"--date", "2002-01-20", "--time", "16:29:00"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "History: 20 Jan, Sunday\n7.13 day, First Quarter\n48.3% illuminated\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(CliRun, DateAndTimeDefaultToNow) {
    EXPECT_EQ(RunWith({}).out,
              "Today: 06 Dec, Sunday\n27.03 day, Waning Crescent\n17.0% illuminated\n");
    // A date alone keeps the current time of day; a time alone keeps today.
    EXPECT_EQ(SplitTabs(SplitLines(RunWith({"--date", "2027-01-01", "--days", "1"}).out)[0])[0],
              "2027-01-01 12:00:00");
    EXPECT_EQ(SplitTabs(SplitLines(RunWith({"--time", "08:15", "--days", "1"}).out)[0])[0],
              "2026-12-06 08:15:00");
    EXPECT_EQ(SplitLines(RunWith({"--date", "2027-01-01"}).out)[0], "Future: 01 Jan, Friday");
}

TEST_F(CliRun, DaysFollowTheJanuary2002PhaseTable) {
    constexpr std::array<int, 31> Expected = {17, 18, 18, 19, 20, 21, 22, 23, 24, 25, 26,
                                              27, 0,  1,  2,  3,  4,  5,  6,  7,  8,  8,
                                              9,  10, 11, 12, 13, 14, 15, 16, 17};
    const Outcome r = RunWith({"--date", "2002-01-01", "--time", "12:00", "--days", "31"});
    ASSERT_EQ(r.status, 0);
    const auto lines = SplitLines(r.out);
    ASSERT_EQ(lines.size(), Expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto fields = SplitTabs(lines[i]);
        ASSERT_EQ(fields.size(), 5U) << lines[i];
        const std::string day = (i < 9 ? "0" : "") + std::to_string(i + 1);
        EXPECT_EQ(fields[0], "2002-01-" + day + " 12:00:00");
        EXPECT_EQ(fields[1], std::to_string(Expected[i])) << fields[0];
        EXPECT_TRUE(fields[4].starts_with("History: " + day + " Jan, ")) << fields[4];
    }
    EXPECT_EQ(SplitTabs(lines[19])[2], "6.92 day, First Quarter");
    EXPECT_EQ(SplitTabs(lines[19])[3], "46.8% illuminated");
    EXPECT_EQ(SplitTabs(lines[27])[2], "14.92 day, Full Moon");
    EXPECT_EQ(SplitTabs(lines[27])[3], "99.0% illuminated");
}

TEST_F(CliRun, DaysCrossYearEndsAndKeepTheTimeOfDay) {
    const auto lines =
        SplitLines(RunWith({"--date", "2003-12-30", "--time", "23:59:59", "--days", "3"}).out);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(SplitTabs(lines[0])[0], "2003-12-30 23:59:59");
    EXPECT_EQ(SplitTabs(lines[1])[0], "2003-12-31 23:59:59");
    EXPECT_EQ(SplitTabs(lines[2])[0], "2004-01-01 23:59:59");
}

TEST_F(CliRun, JsonLinesHoldExactlyTheAgreedKeys) {
    const Outcome r = RunWith({"--json", "--date", "2002-01-20", "--time", "16:29:00"});
    EXPECT_EQ(r.status, 0);
    // "format" stays 1 while keys are only added; "when" saves parsing the caption.
    EXPECT_EQ(r.out, "{\"format\":1,\"date\":\"2002-01-20\",\"time\":\"16:29:00\",\"phase_day\":7,"
                     "\"phase_name\":\"First Quarter\",\"age_days\":7.125,"
                     "\"age_text\":\"7.13 day, First Quarter\","
                     "\"illumination_percent\":48.255048350034606,"
                     "\"illumination_text\":\"48.3% illuminated\","
                     "\"caption\":\"History: 20 Jan, Sunday\",\"when\":\"past\"}\n");

    const auto lines = SplitLines(
        RunWith({"--json", "--date", "2002-01-12", "--time", "14:28:59", "--days", "2"}).out);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_NE(lines[0].find("\"phase_day\":27,\"phase_name\":\"Waning Crescent\""),
              std::string::npos);
    // 14:28:59 on the new-moon day is still inside the two-hour bucket of age 0.
    EXPECT_NE(lines[1].find("\"age_days\":0,"), std::string::npos) << lines[1];
}

TEST(CliJson, StringsAreEscaped) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("\n\r\t"), "\"\\n\\r\\t\"");
    EXPECT_EQ(JsonString(std::string_view("\x01\x1f\0", 3)), "\"\\u0001\\u001f\\u0000\"");
    EXPECT_EQ(JsonString("M\xc3\xa4rz"), "\"M\xc3\xa4rz\"");
}

TEST(CliJson, UnplacedDayHasNullPhaseName) {
    DayLine line;
    line.date = CivilDate{2002, 1, 1};
    line.moon.phaseDay = -1;
    EXPECT_NE(JsonLine(line).find("\"phase_day\":-1,\"phase_name\":null,"), std::string::npos);
}

TEST_F(CliRun, DaysPastTheLastDayFromTodayAreRefusedBeforePrinting) {
    const test::ScopedOverride late(ClockSeam(), test::FixedClock(LastYearsEve));
    const Outcome bad = RunWith({"--days", "3"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("--days"), std::string::npos);
    EXPECT_EQ(SplitLines(RunWith({"--days", "2"}).out).size(), 2U);
}

// Fault: with the day and time given the clock is not checked, and a today
// past 9999 (or none at all) captions every day "Future".
TEST_F(CliRun, AClockOutOfRangeIsToldNeverCaptionedAway) {
    const LocalTimeBreakdown fails = [](std::int64_t, std::tm&) { return false; };
    struct Case {
        const char* name;
        std::int64_t seconds;
        LocalTimeBreakdown breakdown;
    };
    const Case cases[] = {
        {"10000-01-01", 253402300800, {}},
        {"the year 30000", 884541340800, {}},
        {"an unreadable clock", December6Noon, fails},
    };
    const std::vector<std::string_view> runs[] = {
        {"--date", "2002-01-20", "--time", "16:29"},
        {"--date", "2002-01-20", "--time", "16:29", "--days", "3"},
        {"--date", "2002-01-20", "--time", "16:29", "--png", "-"},
    };
    const PngEncoder png = [](const MoonDay&, bool, std::uint32_t, int) {
        return std::optional<std::vector<std::uint8_t>>(std::vector<std::uint8_t>{1});
    };
    for (const Case& c : cases) {
        const test::ScopedOverride clock(ClockSeam(), test::FixedClock(c.seconds));
        const test::ScopedOverride breakdown(LocalTimeBreakdownSeam(), c.breakdown);
        for (const auto& args : runs) {
            SCOPED_TRACE(std::string(c.name) + " " + std::string(args.back()));
            const Outcome r = RunWith(args, png);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find("the clock is out of range"), std::string::npos) << r.err;
        }
    }
}

TEST_F(CliRun, WriteFailureOnStdoutIsNotSuccess) {
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    std::ostringstream err;
    EXPECT_EQ(cli::Run(std::vector<std::string_view>{"--days", "3"}, out, err, FullServices{}), 1);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
}

struct PngCall {
    DateValue date;
    bool northern = true;
    std::uint32_t seed = 0;
    int scale = 0;
    int calls = 0;
};

const std::vector<std::uint8_t> kFakePng = {0x89, 'P', 'N', 'G'};

PngEncoder Recorder(PngCall& call, bool succeed = true) {
    return [&call, succeed](const MoonDay& day, bool northern, std::uint32_t seed, int scale) {
        call = PngCall{day.date, northern, seed, scale, call.calls + 1};
        return succeed ? std::optional(kFakePng) : std::nullopt;
    };
}

TEST_F(CliRun, PngGetsTheChosenDateViewAndSeed) {
    const test::TempFolder folder("norvale-cli-png");
    const std::string path = (folder.Path() / "moon.png").string();
    PngCall call;
    const Outcome r = RunWith({"--png", path, "--date", "2002-01-16", "--time", "12:00", "--seed",
                               "1", "--southern", "--scale", "2"},
                              Recorder(call));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(call.calls, 1);
    EXPECT_EQ(test::ReadBytes(path), kFakePng);
    DateValue expected;
    expected.FromFields(2002, 1, 16, 12, 0, 0);
    EXPECT_EQ(call.date.value, expected.value);
    EXPECT_EQ(call.date.status, DateStatus::valid);
    EXPECT_FALSE(call.northern);
    EXPECT_EQ(call.seed, 1U);
    EXPECT_EQ(call.scale, 2);
}

TEST_F(CliRun, PngSeedDefaultsToTheCurrentSecondIn32Bits) {
    const test::ScopedOverride clock(ClockSeam(),
                                     test::FixedClock((std::int64_t{1} << 32) + 1796558400));
    PngCall call;
    const Outcome r = RunWith({"--png", "-"}, Recorder(call));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(kFakePng.begin(), kFakePng.end())); // "-" is standard output
    EXPECT_EQ(call.seed, 1796558400U);
    EXPECT_TRUE(call.northern);
    EXPECT_EQ(call.scale, 1);
}

TEST_F(CliRun, PngWriteFailureIsReported) {
    PngCall call;
    const Outcome r = RunWith({"--png", "/no/such/dir/moon.png"}, Recorder(call));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("'/no/such/dir/moon.png': "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
    EXPECT_EQ(RunWith({"--png", "-"}, Recorder(call, false)).status, 1);
}

TEST(CliIcs, WellFormedLinesAndThePrincipalDaysOfJanuary2002) {
    const std::string ics = IcsCalendar(2002);
    ASSERT_TRUE(ics.starts_with("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:"));
    ASSERT_TRUE(ics.ends_with("END:VCALENDAR\r\n"));
    for (std::size_t at = 0, next; (next = ics.find('\n', at)) != std::string::npos;
         at = next + 1) {
        ASSERT_GT(next, at);
        EXPECT_EQ(ics[next - 1], '\r') << "bare line feed at " << next;
        EXPECT_LE(next - 1 - at, 75U) << "line longer than 75 octets at " << at;
    }
    for (const char* event : {"DTSTART;VALUE=DATE:20020113\r\nDTEND;VALUE=DATE:20020114\r\n"
                              "SUMMARY:New Moon\r\n",
                              "DTSTART;VALUE=DATE:20020120\r\nDTEND;VALUE=DATE:20020121\r\n"
                              "SUMMARY:First Quarter\r\n",
                              "DTSTART;VALUE=DATE:20020128\r\nDTEND;VALUE=DATE:20020129\r\n"
                              "SUMMARY:Full Moon\r\n",
                              "DTSTART;VALUE=DATE:20020106\r\nDTEND;VALUE=DATE:20020107\r\n"
                              "SUMMARY:Last Quarter\r\n"}) {
        EXPECT_NE(ics.find(event), std::string::npos) << event;
    }
    // 2002-01-21 lies wholly inside the first-quarter step but is not its day.
    EXPECT_EQ(ics.find("DTSTART;VALUE=DATE:20020121"), std::string::npos);
}

} // namespace
} // namespace norvale::cli
