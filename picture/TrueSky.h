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

} // namespace norvale
