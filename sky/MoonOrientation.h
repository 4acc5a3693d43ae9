#pragma once

// How the Moon's disk looks at an instant, from the Earth's centre or from a
// place on the Earth: the phase angle, the position angle of the bright limb,
// the optical libration, the position angle of the Moon's axis, the distance
// and, from a place, the parallactic angle. Meeus, Astronomical Algorithms,
// chapters 13, 14, 22, 40, 47, 48 and 53, over the positions of Positions.h.
// Plain C++, no Qt.

#include <cstdint>
#include <optional>

namespace norvale::sky {

// A place on the Earth: geodetic latitude (north positive) and longitude
// (east positive) in degrees, height above the ellipsoid in metres.
struct Site {
    double latitude = 0.0;
    double longitude = 0.0;
    double heightMetres = 0.0;
};

// The mean distance between the centres of the Earth and the Moon (the
// constant term of the ELP series, Meeus 47): the disk has its mean size there.
inline constexpr double kMeanMoonDistanceKm = 385000.56;

// Angles in degrees. Position angles count from the north point of the disk
// through the east (to the left in a north-up picture of the sky).
struct MoonAspect {
    // Sun-Moon-observer angle: 0 at full moon, 180 at new moon.
    double phaseAngle = 0.0;
    // The lit share of the disk, (1 + cos phaseAngle) / 2.
    double illuminatedFraction = 0.0;
    // The position angle of the middle of the bright limb (chi), 0 to 360.
    double brightLimb = 0.0;
    // The position angle of the Moon's north pole (P), -180 to 180.
    double axis = 0.0;
    // The selenographic longitude (east positive) and latitude of the point
    // at the disk's centre: the optical libration, -180 to 180.
    double librationLongitude = 0.0;
    double librationLatitude = 0.0;
    // From the observer to the Moon's centre.
    double distanceKm = 0.0;
    // The Moon's apparent right ascension (0 to 360) and declination.
    double rightAscension = 0.0;
    double declination = 0.0;
    // From a place: the position angle of the zenith (q, -180 to 180) and
    // the altitude of the Moon's centre without refraction; 0 without one.
    double parallacticAngle = 0.0;
    double altitude = 0.0;

    // The disk's size against its size at the mean distance.
    double SizeScale() const { return kMeanMoonDistanceKm / distanceKm; }
};

// The Moon at an instant (Unix seconds, UTC), seen from the Earth's centre or
// from place (the Moon's parallax moves it by up to a degree and brings it up
// to 1.7 % nearer). Nothing outside 1800-01-01 to 2200-12-31 (InDocumentedRange).
std::optional<MoonAspect> MoonAspectAt(std::int64_t utcSeconds,
                                       const std::optional<Site>& place = std::nullopt);

} // namespace norvale::sky
