#include "options/Options.h"
#include "tests/options/bad_inputs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace norvale::cli {
namespace {

using test_inputs::BadCase;
using test_inputs::BadCases;

ParseResult Parse(const std::vector<std::string_view>& args) {
    return ParseOptions(args);
}

struct GoodCase {
    std::vector<std::string_view> args;
    Options expected;
};

Options Make(auto&& edit) {
    Options options;
    edit(options);
    return options;
}

TEST(CliOptions, AcceptsWellFormedCommandLines) {
    const std::vector<GoodCase> cases = {
        {{}, Options{}},
        {{"--date", "2002-01-20", "--time", "16:29:00"}, Make([](Options& o) {
             o.date = CivilDate{2002, 1, 20};
             o.time = TimeOfDay{16, 29, 0};
         })},
        {{"--time=07:05"}, Make([](Options& o) {
             o.time = TimeOfDay{7, 5, 0};
         })},
        {{"--date=1900-01-01"}, Make([](Options& o) {
             o.date = CivilDate{1900, 1, 1};
         })},
        {{"--date", "9999-01-01"}, Make([](Options& o) {
             o.date = CivilDate{9999, 1, 1};
         })},
        {{"--date", "2024-02-29"}, Make([](Options& o) {
             o.date = CivilDate{2024, 2, 29};
         })},
        {{"--time", "23:59:59"}, Make([](Options& o) {
             o.time = TimeOfDay{23, 59, 59};
         })},
        {{"--date", "9998-12-31", "--days", "2"}, Make([](Options& o) {
             o.date = CivilDate{9998, 12, 31};
             o.days = 2;
         })},
        {{"--days", "36600", "--date", "1900-01-01", "--json"}, Make([](Options& o) {
             o.date = CivilDate{1900, 1, 1};
             o.days = 36600;
             o.json = true;
         })},
        {{"--days", "007"}, Make([](Options& o) { o.days = 7; })},
        {{"--png", "moon.png", "--southern", "--seed", "4294967295"}, Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "moon.png";
             o.southern = true;
             o.seed = 4294967295U;
         })},
        {{"--png", "moon.png", "--date", "2002-01-16", "--time", "12:00"}, Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "moon.png";
             o.date = CivilDate{2002, 1, 16};
             o.time = TimeOfDay{12, 0, 0};
         })},
        {{"--ics", "1900"}, Make([](Options& o) {
             o.action = Action::ics;
             o.icsYear = 1900;
         })},
        {{"--ics=9998"}, Make([](Options& o) {
             o.action = Action::ics;
             o.icsYear = 9998;
         })},
        {{"--json", "--help"}, Make([](Options& o) {
             o.action = Action::help;
             o.json = true;
         })},
        {{"-h"}, Make([](Options& o) { o.action = Action::help; })},
        {{"-V"}, Make([](Options& o) { o.action = Action::version; })},
        {{"2027-01-01"}, Make([](Options& o) {
             o.date = CivilDate{2027, 1, 1};
         })},
        {{"--json", "--", "2027-01-01"}, Make([](Options& o) {
             o.json = true;
             o.date = CivilDate{2027, 1, 1};
         })},
        {{"2027-01-10", "--to", "2027-01-01"}, Make([](Options& o) {
             o.date = CivilDate{2027, 1, 10};
             o.to = CivilDate{2027, 1, 1};
         })},
        {{"--days", "-7"}, Make([](Options& o) { o.days = -7; })},
        {{"--png", "-", "--scale", "2"}, Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "-";
             o.scale = 2;
         })},
        {{"--version"}, Make([](Options& o) { o.action = Action::version; })},
        {{"--png", "m.png", "--true", "--southern", "--scale", "2"}, Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "m.png";
             o.truePicture = true;
             o.southern = true;
             o.scale = 2;
         })},
        {{"--true", "--png", "-", "--size", "1920x1080", "--moon-size", "0.5", "--caption"},
         Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "-";
             o.truePicture = true;
             o.width = 1920;
             o.height = 1080;
             o.moonSize = 0.5;
             o.caption = true;
         })},
        {{"--png", "m.png", "--true", "--size=7680x4320", "--moon-size=1", "--zenith-up"},
         Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "m.png";
             o.truePicture = true;
             o.width = 7680;
             o.height = 4320;
             o.moonSize = 1.0;
             o.zenithUp = true;
         })},
        {{"--png", "m.png", "--true", "--zenith-up", "--place", "Oslo"}, Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "m.png";
             o.truePicture = true;
             o.zenithUp = true;
             o.place = "Oslo";
         })},
        {{"--png", "m.png", "--true", "--size", "16x7680", "--moon-size", ".05"},
         Make([](Options& o) {
             o.action = Action::png;
             o.pngPath = "m.png";
             o.truePicture = true;
             o.width = 16;
             o.height = 7680;
             o.moonSize = 0.05;
         })},
        {{"--rise", "--days", "365", "--place", "-33.87,151.21"}, Make([](Options& o) {
             o.action = Action::rise;
             o.days = 365;
             o.place = "-33.87,151.21";
         })},
        {{"--set-place", "none"}, Make([](Options& o) {
             o.action = Action::setPlace;
             o.setPlace = "none";
         })},
        {{"--sky", "--place=Ho Chi Minh"}, Make([](Options& o) {
             o.action = Action::sky;
             o.place = "Ho Chi Minh";
         })},
        {{"--json", "--place", "Oslo"}, Make([](Options& o) {
             o.json = true;
             o.place = "Oslo";
         })},
    };
    for (const GoodCase& c : cases) {
        std::string joined;
        for (const auto arg : c.args) {
            joined += std::string(arg) + ' ';
        }
        SCOPED_TRACE(joined);
        const ParseResult result = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<Options>(result))
            << std::get<UsageError>(result).message;
        EXPECT_EQ(std::get<Options>(result), c.expected);
    }
}

TEST(CliOptions, RejectsBadCommandLinesWithOneLineNamingTheOption) {
    for (const BadCase& c : BadCases()) {
        std::string joined;
        for (const auto arg : c.args) {
            joined += std::string(arg) + ' ';
        }
        SCOPED_TRACE(joined);
        const ParseResult result = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<UsageError>(result));
        const std::string& message = std::get<UsageError>(result).message;
        EXPECT_TRUE(message.starts_with("norvale-cli: ")) << message;
        EXPECT_NE(message.find(c.mustName), std::string::npos) << message;
        EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    }
}

// --days and --to list days in either direction, newest first going back.
TEST(CliOptions, DaysAndToListTheDaysAskedFor) {
    struct Case {
        std::vector<std::string_view> args;
        CivilDate first;
        int count;
        int step;
    };
    const Case cases[] = {
        {{"2027-01-10"}, {2027, 1, 10}, 1, 1},
        {{"2027-01-10", "--days", "3"}, {2027, 1, 10}, 3, 1},
        {{"2027-01-10", "--days", "-7"}, {2027, 1, 10}, 7, -1},
        {{"2027-01-10", "--to", "2027-01-01"}, {2027, 1, 10}, 10, -1},
        {{"2027-01-10", "--to", "2027-03-01"}, {2027, 1, 10}, 51, 1},
        {{"2027-01-10", "--to", "2027-01-10"}, {2027, 1, 10}, 1, 1},
    };
    for (const Case& c : cases) {
        const ParseResult result = Parse(c.args);
        ASSERT_TRUE(std::holds_alternative<Options>(result));
        const Options& options = std::get<Options>(result);
        const DayRun run = DaysToPrint(options, *options.date);
        EXPECT_EQ(run.first, c.first);
        EXPECT_EQ(run.count, c.count);
        EXPECT_EQ(run.step, c.step);
    }
}

TEST(CliOptions, ErrorLineStaysOneLineWhateverTheValueHolds) {
    const std::string hostile = "20\n02-01\r-20\x1b[2J" + std::string(200, 'x');
    const ParseResult result = Parse({"--date", hostile});
    ASSERT_TRUE(std::holds_alternative<UsageError>(result));
    const std::string& message = std::get<UsageError>(result).message;
    for (const char c : message) {
        EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "byte " << static_cast<int>(c);
    }
    EXPECT_LT(message.size(), 160U);
}

} // namespace
} // namespace norvale::cli
