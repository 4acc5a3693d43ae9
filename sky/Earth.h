#pragma once

// Angles, the Earth's figure and its turning, shared by the Moon's place in
// the sky and its orientation (Meeus, Astronomical Algorithms, chapters 11
// and 12).

#include <cmath>
#include <numbers>

namespace norvale::sky::detail {

inline constexpr double kDegree = std::numbers::pi / 180.0;
inline constexpr double kJ2000 = 2451545.0;

// The Earth's equatorial radius and flattening (IAU 1976, as Meeus uses them).
inline constexpr double kEarthRadiusKm = 6378.14;
inline constexpr double kPolarRatio = 0.99664719; // b / a

// Degrees into [0, 360) and into (-180, 180].
inline double Wrap360(double degrees) {
    const double r = std::fmod(degrees, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

inline double Wrap180(double degrees) {
    const double r = Wrap360(degrees);
    return r > 180.0 ? r - 360.0 : r;
}

// Greenwich mean sidereal time in degrees, [0, 360), at a Julian day of UT
// (Meeus 12.4).
inline double MeanSiderealDeg(double jd) {
    const double d = jd - kJ2000;
    const double t = d / 36525.0;
    return Wrap360(280.46061837 + 360.98564736629 * d + 0.000387933 * t * t -
                   t * t * t / 38710000.0);
}

// A place's distance from the Earth's axis (rhoCos) and from its equator's
// plane (rhoSin), in equatorial radii (Meeus 11).
struct GeocentricPlace {
    double rhoSin = 0.0;
    double rhoCos = 0.0;
};

inline GeocentricPlace GeocentricPlaceOf(double latitudeDeg, double heightMetres) {
    const double phi = latitudeDeg * kDegree;
    const double u = std::atan(kPolarRatio * std::tan(phi));
    const double h = heightMetres / 1000.0 / kEarthRadiusKm;
    return {kPolarRatio * std::sin(u) + h * std::sin(phi), std::cos(u) + h * std::cos(phi)};
}

} // namespace norvale::sky::detail
