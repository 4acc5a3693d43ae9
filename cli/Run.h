#pragma once

#include "core/DateValue.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace norvale::cli {

// Writes the Moon panel of date to path as a PNG; false when it could not.
using PngWriter = std::function<bool(const std::string& path, const DateValue& date, bool northern,
                                     std::uint32_t starSeed)>;

// Runs norvale-cli with the arguments after the program name and returns the
// exit status: 0 done, 1 failed (nothing usable written), 2 bad command line
// (one line on err, nothing on out). Only --png calls writePng.
int Run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
        const PngWriter& writePng);

} // namespace norvale::cli
