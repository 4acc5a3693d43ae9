#pragma once

// Local wall-clock dates and times to instants, by the C library's zone rules
// (TZ decides the zone). Plain C++, no Qt.

#include <cstdint>
#include <optional>

namespace norvale::sky {

// Seconds since 1970-01-01 00:00:00 UTC of a local date and time. A time that
// the clocks skip (a daylight-saving gap) moves forward by the length of the
// gap, as if the clocks had not yet changed; a time that occurs twice takes
// its first occurrence. nullopt for a date or time that does not exist on the
// calendar (month 13, 30 February, 24:00, second 60) or that the C library
// cannot place.
std::optional<std::int64_t> LocalToUtcSeconds(int year, int month, int day, int hour, int minute,
                                              int second);

} // namespace norvale::sky
