// norvale-cli in-process: the true sky's answers and the place's lines, from
// the JSON lines to --sky, --rise and the picture's tooltip.
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

} // namespace
} // namespace norvale::cli
