#pragma once

// The Sun and Moon as seen from the Earth's centre, over libnova. Internal to
// norvale_sky.

namespace norvale::sky::detail {

inline constexpr double kUnixEpochJulianDay = 2440587.5;
inline constexpr double kSecondsPerDay = 86400.0;

// A position on the mean ecliptic and equinox of date: longitude and latitude
// in degrees, distance in km.
struct EclipticPosition {
    double longitude = 0.0;
    double latitude = 0.0;
    double distanceKm = 0.0;
};

// libnova sums the ELP 2000-82B series down to terms of this size (radians for
// longitude and latitude). Measured over 1800-2200 against the full series:
//   0 (every term): about 1.4-2 ms a call; the principal phases are computed
//         with it once, by tools/phase_table.cpp, and kept (PhaseTable.h);
//   1e-7: longitude within 0.5" (about 1 s of a phase instant), 0.7 km;
//         110-130 us a call;
//   1e-6: within 3.5" (a phase instant within 9 s, 1.4 s on average),
//         4.4 km; 50-70 us a call, which is the floor: coarser settings save
//         next to nothing.
// The lit share and the distance of an instant, and a phase outside the
// table, use 1e-6: 3.5" of longitude is 0.001 points of the lit share at most.
inline constexpr double kMoonSeriesPrecision = 1e-6;
inline constexpr double kFullMoonSeries = 0.0;

// The apparent geocentric Moon at a Julian ephemeris day (TT), without
// nutation: where the Moon was one light-time (about 1.3 s) earlier.
EclipticPosition MoonAt(double jde, double precision = kMoonSeriesPrecision);
// The apparent geocentric Sun at a Julian ephemeris day, without nutation:
// the geometric Sun less the annual aberration (about 20.5 arc seconds).
// Nutation moves both bodies alike, so it is left out of both.
EclipticPosition SunAt(double jde);

// The Moon's longitude less the Sun's, in [0, 360).
double Elongation(const EclipticPosition& moon, const EclipticPosition& sun);
// The lit share of the disk, 0 to 1: (1 + cos i) / 2, where i is the angle
// Sun-Moon-Earth.
double IlluminatedFraction(const EclipticPosition& moon, const EclipticPosition& sun);

// The decimal year of a Julian day (2000.0 at 2000-01-01 00:00).
double DecimalYear(double julianDay);
// Julian day (UT) of Unix seconds, and Julian ephemeris day (TT) with it.
double JulianDayOf(double unixSeconds);
double EphemerisDayOf(double unixSeconds);
// Unix seconds of a Julian ephemeris day.
double UnixSecondsOfEphemerisDay(double jde);

} // namespace norvale::sky::detail
