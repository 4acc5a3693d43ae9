#pragma once

// The true sky beside Norvale's calendar model: the Moon's phase, age, distance
// and principal phase instants from libnova's ELP 2000-82B Moon and VSOP87 Sun.
// Instants are seconds since 1970-01-01 00:00:00 UTC (Unix seconds, no leap
// seconds), taken as Universal Time. Plain C++, no Qt. docs/sky.md gives the
// accuracy and where the figures come from.
//
// libnova keeps its last Moon position in static storage, so nothing here may
// run in two threads at once.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "sky/Range.h"

namespace norvale::sky {

enum class Phase { newMoon, firstQuarter, fullMoon, lastQuarter };

// A principal phase: the instant the Moon's apparent geocentric ecliptic
// longitude minus the Sun's is 0, 90, 180 or 270 degrees, to the nearest
// second, and the Brown lunation number of the lunation it belongs to (the
// one that began at the new moon on or before it).
struct PhaseInstant {
    Phase phase = Phase::newMoon;
    std::int64_t utcSeconds = 0;
    int lunation = 0;

    bool operator==(const PhaseInstant&) const = default;
};

// The figures for one instant.
struct SkyFigures {
    // The lit share of the disk seen from the Earth's centre, 0 to 100.
    double illuminationPercent = 0.0;
    // Days since previousNewMoon.
    double ageDays = 0.0;
    // The last new moon at or before the instant.
    std::int64_t previousNewMoon = 0;
    // The first of each phase after the instant.
    std::int64_t nextNewMoon = 0;
    std::int64_t nextFirstQuarter = 0;
    std::int64_t nextFullMoon = 0;
    std::int64_t nextLastQuarter = 0;
    // Centre of the Earth to centre of the Moon.
    double distanceKm = 0.0;
    // Brown lunation number of previousNewMoon (lunation 1 began 1923-01-17).
    int lunation = 0;

    bool operator==(const SkyFigures&) const = default;
};

// The figures at one instant; nullopt outside the documented range. Each call
// searches for its five phase instants; use SkyTimeline for many instants.
std::optional<SkyFigures> SkyAt(std::int64_t utcSeconds);

// Every principal phase from fromUtc to toUtc, both ends included, in time
// order; the span is first cut to the documented range.
std::vector<PhaseInstant> PhasesBetween(std::int64_t fromUtc, std::int64_t toUtc);

// TT - UT in seconds for a decimal year (2000.0 is the start of 2000): the
// measured yearly values from 1955, the Espenak-Meeus fits to the historical
// measurements before, a smooth extrapolation after (docs/sky.md).
double DeltaTSeconds(double decimalYear);

// Answers for many instants that share lunations: each phase instant is
// searched for once and kept, so consecutive days cost one position each.
// Holds every phase it has found (a few hundred bytes per lunation); one
// timeline is not for use from two threads at once.
class SkyTimeline {
public:
    std::optional<SkyFigures> At(std::int64_t utcSeconds);
    std::vector<PhaseInstant> PhasesBetween(std::int64_t fromUtc, std::int64_t toUtc);
    // How many phase instants have been searched for so far.
    std::size_t SolvedPhases() const { return m_solved.size(); }

private:
    // The instant of phase number n (4 per lunation, 0 is the new moon of
    // 2000-01-06), searched for on first use.
    std::int64_t PhaseSeconds(std::int64_t n);

    std::map<std::int64_t, std::int64_t> m_solved;
};

} // namespace norvale::sky
