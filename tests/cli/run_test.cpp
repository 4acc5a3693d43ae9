// norvale-cli driven in-process with a fixed clock (the tests run with TZ=UTC).
#include "cli/Output.h"
#include "cli/Run.h"
#include "cli/SkyAnswers.h"
#include "core/Clock.h"
#include "core/DateValue.h"
#include "skytext/SkyText.h"
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

// 2026-12-06 12:00:00 UTC.
constexpr std::int64_t December6Noon = 1796558400;
// 9998-12-31 12:00:00 UTC.
constexpr std::int64_t LastYearsEve = 253370721600;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome RunWith(const std::vector<std::string_view>& args, const PngEncoder& png = {}) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = cli::Run(args, out, err, FullServices{png, nullptr});
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        fields.push_back(line.substr(start, tab - start));
    }
    fields.push_back(line.substr(start));
    return fields;
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_STREQ(std::getenv("TZ"), "UTC"); }
    test::ScopedOverride<ClockSource> m_clock{ClockSeam(), test::FixedClock(December6Noon)};
    // The place file lives here, never in the real home folder.
    test::TempConfigHome m_config{"norvale-cli-run"};
};

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

// The JSON lines' true sky: exactly its keys, null outside its years, and the
// local date and time turned into an instant by the zone's rules (a time in
// the spring gap moves forward by the gap, a repeated autumn time is its
// first occurrence).
TEST_F(CliRun, JsonLinesCarryTheTrueSkyAtTheLinesInstant) {
    const auto sky = MakeSkyAnswers();
    auto json = [&sky](const std::vector<std::string_view>& args) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::Run(args, out, err, FullServices{{}, sky.get()}), 0) << err.str();
        const std::string line = out.str();
        const auto at = line.find(",\"sky\":");
        return at == std::string::npos ? std::string("<none>") : line.substr(at + 7);
    };
    const std::string december = json({"--json", "2026-12-07", "--time", "12:00"});
    for (const char* key :
         {"{\"illumination_percent\":2.", ",\"age_days\":28.",
          ",\"previous_new_moon\":\"2026-11-09T", ",\"next_new_moon\":\"2026-12-09T",
          ",\"next_first_quarter\":\"2026-12-17T", ",\"next_full_moon\":\"2026-12-24T",
          ",\"next_last_quarter\":\"2026-12-30T", ",\"distance_km\":4",
          ",\"lunation\":1285},\"place\":null}\n"}) {
        EXPECT_NE(december.find(key), std::string::npos) << key << " in " << december;
    }
    EXPECT_EQ(json({"--json", "2300-01-01"}), "null,\"place\":null}\n");
    struct Local {
        const char* zone;
        const char* date;
        const char* time;
        const char* utcTime;
    };
    for (const Local& l : {Local{"Europe/Berlin", "2027-03-28", "02:30", "01:30"},
                           Local{"Europe/Berlin", "2027-10-31", "02:30", "00:30"},
                           Local{"America/New_York", "2027-07-01", "20:00", "00:00"}}) {
        SCOPED_TRACE(l.zone + std::string(" ") + l.date + " " + l.time);
        std::string local;
        {
            const test::ScopedTimeZone zone(l.zone);
            local = json({"--json", l.date, "--time", l.time});
        }
        const std::string utcDate = std::string(l.utcTime) == "00:00" ? "2027-07-02" : l.date;
        EXPECT_EQ(local, json({"--json", utcDate, "--time", l.utcTime}));
    }
}

// The place: --rise, --sky and JSON lines with a given, stored, time-zone or
// no place. Faults caught: the time zone's city used for JSON lines (status
// bars would pay for the zone tables), a stored place not read back, a bad
// --place not refused with status 2, a damaged place file fatal, the --sky
// hint missing without a place.
TEST_F(CliRun, RiseSkyAndJsonNameThePlaceAndItsSource) {
    const auto sky = MakeSkyAnswers();
    struct Case {
        const char* zone;
        std::vector<std::string_view> args;
        int status;
        const char* out; // a part of standard output ("" when empty)
        const char* err; // a part of standard error ("" when empty)
    };
    const std::string placeFile = (m_config.Root() / "config/Norvale/place").string();
    const Case cases[] = {
        {"Europe/Berlin",
         {"--rise", "2026-12-07", "--days", "2"},
         0,
         "Moon at Berlin, from the time zone, 52.500N 13.367E\n2026-12-07\trise 06:51 CET\t"
         "transit 10:37 CET at 12.2 degrees\tset 14:15 CET\n2026-12-08\trise 08:02 CET",
         ""},
        {"UTC", {"--rise"}, 1, "", "--set-place PLACE"},
        {"UTC", {"--rise", "--place", "Atlantis"}, 2, "", "unknown place 'Atlantis'"},
        {"UTC", {"--sky", "2026-12-07"}, 0, "\nNo place for moonrise and moonset: ", ""},
        {"UTC",
         {"--sky", "2026-12-07", "--time", "12:00", "--place", "Berlin"},
         0,
         "\nPlace:              Berlin, given, 52.500N 13.367E\nMoonrise:           05:51 UTC\n",
         ""},
        {"UTC", {"--set-place", "Oslo"}, 0, "Stored place: Oslo, 59.917N 10.750E\n", ""},
        {"UTC", {"--json", "2026-12-07"}, 0, ",\"place\":{\"name\":\"Oslo\",", ""},
        {"UTC",
         {"--json", "2026-12-07"},
         0,
         ",\"source\":\"stored\",\"moonrise\":\"2026-12-07T",
         ""},
        {"UTC", {"--json", "2026-12-07", "--place", "1,2,X"}, 0, "\"source\":\"given\"", ""},
        {"UTC", {"--set-place", "none"}, 0, "Stored place: none", ""},
        {"Europe/Berlin", {"--json", "2026-12-07"}, 0, ",\"place\":null}\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + std::string(c.args.front()));
        const test::ScopedTimeZone zone(c.zone);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::Run(c.args, out, err, FullServices{{}, sky.get()}), c.status);
        EXPECT_NE(out.str().find(c.out), std::string::npos) << out.str();
        if (*c.err == '\0') {
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
            EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << err.str();
        }
    }
    // A damaged place file: one line, and the time zone's city instead.
    std::ofstream(placeFile, std::ios::trunc) << "not a place\n";
    const test::ScopedTimeZone berlin("Europe/Berlin");
    std::ostringstream out;
    std::ostringstream err;
    const std::vector<std::string_view> rise = {"--rise", "2026-12-07"};
    EXPECT_EQ(cli::Run(rise, out, err, FullServices{{}, sky.get()}), 0);
    EXPECT_TRUE(out.str().starts_with("Moon at Berlin, from the time zone")) << out.str();
    EXPECT_EQ(err.str(), "norvale-cli: the place file " + placeFile +
                             " is damaged (it should hold one line, LAT,LON,NAME or none)\n");
}

// --sky and --phases take every day of the true sky's years, 1800 to 2200;
// a --phases span past either end prints what lies inside and says in one
// line on stderr what was left out; the calendar model's answers keep their
// days from 1900 and their messages; wholly outside is a failure.
TEST_F(CliRun, TheTrueSkyOverItsWholeRange) {
    const auto sky = MakeSkyAnswers();
    struct Case {
        std::vector<std::string_view> args;
        int status;
        const char* out; // the start of standard output
        const char* err; // a part of standard error, "" for none at all
    };
    const Case cases[] = {
        {{"--sky", "1850-06-01", "--time", "12:00"}, 0, "True sky at 1850-06-01 12:00 UTC\n", ""},
        {{"--phases", "1800-01-01", "--days", "3"}, 0, "1800-01-02 ", ""},
        {{"--phases", "2200-12-20"},
         0,
         "2200-12-21 ",
         "none are printed for the days after 2200-12-31"},
        {{"--phases", "1800-01-05", "--days", "-10"}, 0, "1800-01-02 ", "before 1800-01-01"},
        {{"--sky", "2201-01-01"}, 1, "", "1800 to 2200"},
        {{"--phases", "2201-01-01"}, 1, "", "1800 to 2200"},
        {{"--ics", "2201"}, 1, "", "1800 to 2200"},
        {{"--ics", "1850", "--calendar-days"}, 2, "", "1900 to 9998"},
        {{"--sky", "1799-12-31"}, 2, "", "1800-01-01 with --sky or --phases"},
        {{"1850-06-01"},
         2,
         "",
         "the date must be YYYY-MM-DD, a day from 1900-01-01 to 9999-01-01, got '1850-06-01'"},
        {{"--json", "--date", "1850-06-01"},
         2,
         "",
         "--date expects YYYY-MM-DD, a day from 1900-01-01 to 9999-01-01, got '1850-06-01'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.args.front()) + " " + std::string(c.args.back()));
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::Run(c.args, out, err, FullServices{{}, sky.get()}), c.status) << err.str();
        EXPECT_TRUE(out.str().starts_with(c.out)) << out.str();
        if (*c.err == '\0') {
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
            const std::string text = err.str();
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
        }
    }
}

// The picture's tooltip and --sky come from one set of texts: the same
// heading and, for every item of the tooltip, the same value in --sky, in a
// zone from TZ, in one without a name, and in one given through the core's
// local-time seam alone (which both must follow).
TEST_F(CliRun, SkyLinesAndThePicturesTooltipAgree) {
    const auto sky = MakeSkyAnswers();
    const LocalTimeBreakdown india = [](std::int64_t seconds, std::tm& out) {
        const auto t = static_cast<std::time_t>(seconds + 19800);
        ::gmtime_r(&t, &out);
        out.tm_gmtoff = 19800;
        out.tm_zone = "IST";
        return true;
    };
    struct Case {
        const char* zone;
        bool seam;
        std::string_view date;
        std::string_view time;
    };
    for (const Case& c :
         {Case{"UTC", false, "2026-12-07", "12:00"},
          Case{"Europe/Berlin", false, "2027-02-20", "23:59:50"},
          Case{"AB", false, "2027-06-01", "06:30"}, Case{"UTC", true, "2026-12-07", "12:00"}}) {
        SCOPED_TRACE(std::string(c.zone) + (c.seam ? " through the seam" : ""));
        const test::ScopedTimeZone zone(c.zone);
        const test::ScopedOverride seam(LocalTimeBreakdownSeam(),
                                        c.seam ? india : LocalTimeBreakdown{});
        std::ostringstream out;
        std::ostringstream err;
        ASSERT_EQ(cli::Run(std::vector<std::string_view>{"--sky", c.date, "--time", c.time}, out,
                           err, FullServices{{}, sky.get()}),
                  0)
            << err.str();
        const auto date = ParseDate(c.date);
        const auto time = ParseTime(c.time);
        ASSERT_TRUE(date && time);
        DateValue shown;
        shown.FromFields(date->year, date->month, date->day, time->hour, time->minute,
                         time->second);
        const std::vector<std::string> tooltip = SplitLines(skytext::TrueSkyText(shown));
        const std::vector<std::string> lines = SplitLines(out.str());
        ASSERT_GE(tooltip.size(), 5U);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(tooltip.front(), lines.front());
        for (std::size_t i = 1; i < tooltip.size(); ++i) {
            const std::size_t colon = tooltip[i].find(": ");
            ASSERT_NE(colon, std::string::npos) << tooltip[i];
            const std::string label = tooltip[i].substr(0, colon + 1);
            const std::string value = tooltip[i].substr(colon + 2);
            bool found = false;
            for (const std::string& line : lines) {
                if (line.starts_with(label)) {
                    found = line.ends_with(" " + value) &&
                            line.find_first_not_of(' ', label.size()) == line.size() - value.size();
                }
            }
            EXPECT_TRUE(found) << tooltip[i] << " in\n" << out.str();
        }
        if (c.seam) {
            EXPECT_EQ(lines.front(), "True sky at 2026-12-07 17:30 IST");
        }
    }
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
