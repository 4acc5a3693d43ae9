#pragma once

// The search for principal phase instants. Internal to norvale_sky.

#include <cstdint>

namespace norvale::sky::detail {

// Phases are numbered in quarter steps: n = 4 k + q, where k is the lunation
// counted from the new moon of 2000-01-06 (Brown lunation 953) and q is 0 for
// the new moon, 1 first quarter, 2 full moon, 3 last quarter.
inline constexpr int kBrownLunationOfPhaseZero = 953;

inline constexpr double kMeanSynodicMonth = 29.530588861;
// The Moon gains on the Sun 360 degrees per synodic month on average; the
// true rate runs from about 10 to 15 degrees a day.
inline constexpr double kMeanDegreesPerDay = 360.0 / kMeanSynodicMonth;

std::int64_t LunationOf(std::int64_t n);
int QuarterOf(std::int64_t n);

// The Julian ephemeris day of the mean phase n (Meeus, Astronomical
// Algorithms, 49.1), and the fractional mean phase number of a Julian
// ephemeris day, near enough to pick the true phase around it.
double MeanPhaseDay(std::int64_t n);
double MeanPhaseNumber(double jde);

// The Julian ephemeris day of the true phase n: where the Moon's longitude less
// the Sun's is 90 q degrees.
double SolvePhase(std::int64_t n);

// The same with every term of the Moon's series and the Sun computed at each
// step, to a millisecond: about 5 ms. tools/phase_table.cpp tabulates it once
// for the documented range (PhaseTable.h).
double SolvePhaseExactly(std::int64_t n);

} // namespace norvale::sky::detail
