#pragma once

// norvale-cli driven in-process: a fixed clock, a temporary configuration
// folder, and the run's status and output.
#include "cli/Output.h"
#include "cli/Run.h"
#include "cli/SkyAnswers.h"
#include "core/Clock.h"
#include "core/DateValue.h"
#include "core/Fields.h"
#include "tests/support/TestSupport.h"
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace norvale::cli {

// 2026-12-06 12:00:00 UTC.
inline constexpr std::int64_t December6Noon = 1796558400;
// 9998-12-31 12:00:00 UTC.
inline constexpr std::int64_t LastYearsEve = 253370721600;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome RunWith(const std::vector<std::string_view>& args, const PngEncoder& png = {}) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome outcome;
    outcome.status = cli::Run(args, out, err, FullServices{png, nullptr});
    outcome.out = out.str();
    outcome.err = err.str();
    return outcome;
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::vector<std::string> SplitTabs(const std::string& line) {
    return SplitFields(line, '\t');
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_STREQ(std::getenv("TZ"), "UTC"); }
    test::ScopedOverride<ClockSource> m_clock{ClockSeam(), test::FixedClock(December6Noon)};
    // The place file lives here, never in the real home folder.
    test::TempConfigHome m_config{"norvale-cli-run"};
};

} // namespace norvale::cli
