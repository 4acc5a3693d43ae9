#pragma once

// The true sky's texts, shared by the window's picture (its tooltip and
// accessible help) and norvale-cli (--sky, --phases, the JSON lines and the
// calendar): the phase names, the date and time formats, the lines of the
// figures at an instant and the years they are given for. Plain C++ over
// norvale_sky and the core's local-time seam, in the POSIX locale; no Qt.

#include "core/DateValue.h"
#include "sky/Sky.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace norvale::skytext {

// "New Moon", "First Quarter", "Full Moon", "Last Quarter".
std::string_view PhaseName(sky::Phase phase);
// "new", "first-quarter", "full", "last-quarter": for identifiers.
std::string_view PhaseKey(sky::Phase phase);

// "1800 to 2200": the years the figures are given for.
std::string YearsText();

// The instant rounded to the nearest minute; half a minute rounds up.
std::int64_t NearestMinute(std::int64_t utcSeconds);

// "2027-01-07 21:24 CET": the instant rounded to the nearest minute, as the
// local date and time of the rounded minute with the zone's abbreviation, or
// its offset ("+05:30") when the zone has no name. Local time comes from the
// core's seam (BreakDownLocalTime, TZ by default); when it fails, UTC
// ("2027-01-07 20:24 UTC").
std::string LocalMinuteText(std::int64_t utcSeconds);
// "21:24 CET": the same without the date, for the events of one local day.
std::string LocalClockText(std::int64_t utcSeconds);

// Whole seconds in UTC: "2027-01-07T20:24:08Z" (JSON) and
// "20270107T202408Z" (iCalendar).
std::string IsoUtcText(std::int64_t utcSeconds);
std::string IcsUtcText(std::int64_t utcSeconds);

// One item of the figures: "Illuminated" and "2.5%".
struct SkyLine {
    std::string label;
    std::string value;

    bool operator==(const SkyLine&) const = default;
};

// The figures at an instant as a heading ("True sky at 2026-12-07 12:00 CET")
// and items in order. Callers may add items of their own before printing.
struct SkyReport {
    std::string heading;
    std::vector<SkyLine> lines;
};

enum class SkyDetail {
    brief, // the picture's tooltip: lit share, age, next new and full moons
    full,  // --sky: also the previous new moon, both quarters, distance, lunation
};

SkyReport MakeSkyReport(std::int64_t utcSeconds, const sky::SkyFigures& figures, SkyDetail detail);

// --sky: the heading, then "Label:" padded so the values form one column,
// every line ending in a newline.
std::string AlignedText(const SkyReport& report);
// The tooltip: the heading, then "Label: value", one a line, without a
// final newline.
std::string ListText(const SkyReport& report);

// "2027-01-07 21:24 CET<TAB>Full Moon\n": a line of --phases.
std::string PhaseLine(const sky::PhaseInstant& phase);

// The true sky at the local date and time of shown (the picture's tooltip
// and help text), in the brief form of ListText. Outside the years the
// second line says so instead of giving figures; a day that cannot be placed
// has one line saying that. Costs a fraction of a millisecond.
std::string TrueSkyText(const DateValue& shown);

} // namespace norvale::skytext
