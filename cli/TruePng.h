#pragma once

#include "cli/Run.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvale::cli {

// norvale-cli --png FILE --true: the Moon as it is at the request's local
// date and time (TZ decides the zone), as PNG bytes; nullopt with a message
// when the instant lies outside the true sky's years or --zenith-up has no
// place. Needs no display and no toolkit.
std::optional<std::vector<std::uint8_t>> EncodeTruePng(const TruePngRequest& request,
                                                       std::string& error);

// The three lines of the true sky at an instant: the lit share, the age since
// the true new moon and the next principal phase in local time, e.g.
// "2.4% illuminated", "Age 28.21 days", "New Moon 09 Dec 00:51".
std::array<std::string, 3> TrueSkyLines(std::int64_t utcSeconds, double illuminatedFraction);

} // namespace norvale::cli
