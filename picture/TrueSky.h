#pragma once

// The true sky of the picture's shown day, beside the calendar model the
// panel's three lines follow: the text of the picture's tooltip and of its
// accessible help. Plain C++ over norvale_sky (libnova); the panel and the
// shading never use it.

#include "core/DateValue.h"

#include <string>

namespace norvale {

// The true sky at the local date and time of shown (TZ decides the zone), in
// the POSIX locale, one item a line:
//
//   True sky at 2026-12-07 12:00 UTC
//   Illuminated: 2.4%
//   Age: 28.21 days
//   Next new moon: 2026-12-09 00:51 UTC
//   Next full moon: 2026-12-24 01:28 UTC
//
// (the instants in local time with the zone's abbreviation). Outside the
// years the figures are given for (1800 to 2200 UTC) the second line says so
// instead of giving figures; a day that cannot be placed has one line saying
// that. Costs a few milliseconds (the sky is searched for five phases).
std::string TrueSkyText(const DateValue& shown);

// The Moon at the user's place on the shown local day, for the same tooltip,
// each line after a newline:
//
//   Berlin, from the time zone
//   Moonrise: 06:51 CET
//   Transit: 10:37 CET at 12.2 degrees
//   Moonset: 14:15 CET
//
// The place is the stored one (norvale-cli --set-place), else the principal
// city of the time zone; without either, one line says how to set one. A
// damaged place file is reported once on stderr and skipped. Empty for a day
// that cannot be placed or lies outside 1800 to 2200.
std::string PlaceSkyText(const DateValue& shown);

} // namespace norvale
