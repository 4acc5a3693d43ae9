#include "sky/MoonOrientation.h"

#include "sky/Earth.h"
#include "sky/Positions.h"
#include "sky/Sky.h"

#include <cmath>

namespace norvale::sky {

namespace {

using detail::EclipticPosition;
using detail::kDegree;
using detail::kJ2000;
using detail::Wrap180;
using detail::Wrap360;

constexpr double kArcSecond = kDegree / 3600.0;
// The inclination of the Moon's mean equator to the ecliptic (Meeus 53).
constexpr double kEquatorInclination = 1.54242 * kDegree;

struct Vector {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Right ascension and declination (radians) with a distance.
struct Equatorial {
    double alpha = 0.0;
    double delta = 0.0;
    double distance = 0.0;
};

Vector ToVector(const Equatorial& e) {
    return {e.distance * std::cos(e.delta) * std::cos(e.alpha),
            e.distance * std::cos(e.delta) * std::sin(e.alpha), e.distance * std::sin(e.delta)};
}

Equatorial ToEquatorial(const Vector& v) {
    const double r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {std::atan2(v.y, v.x), std::asin(v.z / r), r};
}

// Ecliptic longitude and latitude (radians) to equatorial for obliquity eps
// (Meeus 13.3, 13.4), and back (13.1, 13.2).
Equatorial EclipticToEquatorial(double lambda, double beta, double distance, double eps) {
    const double alpha = std::atan2(
        std::sin(lambda) * std::cos(eps) - std::tan(beta) * std::sin(eps), std::cos(lambda));
    const double delta = std::asin(std::sin(beta) * std::cos(eps) +
                                   std::cos(beta) * std::sin(eps) * std::sin(lambda));
    return {alpha, delta, distance};
}

void EquatorialToEcliptic(const Equatorial& e, double eps, double& lambda, double& beta) {
    lambda = std::atan2(std::sin(e.alpha) * std::cos(eps) + std::tan(e.delta) * std::sin(eps),
                        std::cos(e.alpha));
    beta = std::asin(std::sin(e.delta) * std::cos(eps) -
                     std::cos(e.delta) * std::sin(eps) * std::sin(e.alpha));
}

// The nutation in longitude and obliquity (radians) to half an arc second
// (Meeus 22, the short series), and the mean obliquity (22.2).
struct Nutation {
    double longitude = 0.0;
    double obliquity = 0.0;
    double meanObliquity = 0.0;
};

Nutation NutationAt(double t, double omega) {
    const double l = (280.4665 + 36000.7698 * t) * kDegree;
    const double lMoon = (218.3165 + 481267.8813 * t) * kDegree;
    Nutation n;
    n.longitude = (-17.20 * std::sin(omega) - 1.32 * std::sin(2 * l) - 0.23 * std::sin(2 * lMoon) +
                   0.21 * std::sin(2 * omega)) *
                  kArcSecond;
    n.obliquity = (9.20 * std::cos(omega) + 0.57 * std::cos(2 * l) + 0.10 * std::cos(2 * lMoon) -
                   0.09 * std::cos(2 * omega)) *
                  kArcSecond;
    n.meanObliquity = (23.0 + 26.0 / 60.0 + 21.448 / 3600.0) * kDegree +
                      (-46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) * kArcSecond;
    return n;
}

// Greenwich apparent sidereal time (radians) at a Julian day of UT (Meeus 12.4
// and the equation of the equinoxes).
double ApparentSiderealTime(double jd, const Nutation& n) {
    return detail::MeanSiderealDeg(jd) * kDegree +
           n.longitude * std::cos(n.meanObliquity + n.obliquity);
}

// The place's geocentric position in km on the true equator of date, at
// local sidereal time theta (Meeus 11).
Vector ObserverVector(const Site& place, double theta) {
    using detail::kEarthRadiusKm;
    const auto [rhoSin, rhoCos] = detail::GeocentricPlaceOf(place.latitude, place.heightMetres);
    return {kEarthRadiusKm * rhoCos * std::cos(theta), kEarthRadiusKm * rhoCos * std::sin(theta),
            kEarthRadiusKm * rhoSin};
}

} // namespace

std::optional<MoonAspect> MoonAspectAt(std::int64_t utcSeconds, const std::optional<Site>& place) {
    if (!InDocumentedRange(utcSeconds)) {
        return std::nullopt;
    }
    const double seconds = static_cast<double>(utcSeconds);
    const double jd = detail::JulianDayOf(seconds);
    const double jde = detail::EphemerisDayOf(seconds);
    const double t = (jde - kJ2000) / 36525.0;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    // The longitude of the Moon's mean ascending node and its mean argument
    // of latitude (Meeus 47.7, 47.5).
    const double omega =
        (125.0445479 - 1934.1362891 * t + 0.0020754 * t2 + t3 / 467441.0 - t4 / 60616000.0) *
        kDegree;
    const double argumentF =
        (93.2720950 + 483202.0175233 * t - 0.0036539 * t2 - t3 / 3526000.0 + t4 / 863310000.0) *
        kDegree;
    const Nutation nutation = NutationAt(t, omega);
    const double eps = nutation.meanObliquity + nutation.obliquity;

    // Apparent places: the mean ecliptic of date plus the nutation.
    const EclipticPosition moon = detail::MoonAt(jde);
    const EclipticPosition sun = detail::SunAt(jde);
    Equatorial moonEq = EclipticToEquatorial(moon.longitude * kDegree + nutation.longitude,
                                             moon.latitude * kDegree, moon.distanceKm, eps);
    const Equatorial sunEq = EclipticToEquatorial(sun.longitude * kDegree + nutation.longitude,
                                                  sun.latitude * kDegree, sun.distanceKm, eps);

    MoonAspect aspect;
    double hourAngle = 0.0;
    if (place) {
        // The Moon from the place: its geocentric vector less the place's.
        const double theta = ApparentSiderealTime(jd, nutation) + place->longitude * kDegree;
        const Vector m = ToVector(moonEq);
        const Vector o = ObserverVector(*place, theta);
        moonEq = ToEquatorial({m.x - o.x, m.y - o.y, m.z - o.z});
        hourAngle = theta - moonEq.alpha;
    }
    double lambda = 0.0;
    double beta = 0.0;
    EquatorialToEcliptic(moonEq, eps, lambda, beta);

    // The phase angle from the elongation (Meeus 48.2, 48.3).
    const double dAlpha = sunEq.alpha - moonEq.alpha;
    const double cosPsi = std::sin(sunEq.delta) * std::sin(moonEq.delta) +
                          std::cos(sunEq.delta) * std::cos(moonEq.delta) * std::cos(dAlpha);
    const double psi = std::acos(std::fmax(-1.0, std::fmin(1.0, cosPsi)));
    const double phase = std::atan2(sunEq.distance * std::sin(psi),
                                    moonEq.distance - sunEq.distance * std::cos(psi));
    aspect.phaseAngle = phase / kDegree;
    aspect.illuminatedFraction = (1.0 + std::cos(phase)) / 2.0;
    // The bright limb (48.5).
    aspect.brightLimb =
        Wrap360(std::atan2(std::cos(sunEq.delta) * std::sin(dAlpha),
                           std::sin(sunEq.delta) * std::cos(moonEq.delta) -
                               std::cos(sunEq.delta) * std::sin(moonEq.delta) * std::cos(dAlpha)) /
                kDegree);

    // The optical libration (53.1), from the longitude on the mean equinox.
    const double w = lambda - nutation.longitude - omega;
    const double a = std::atan2(std::sin(w) * std::cos(beta) * std::cos(kEquatorInclination) -
                                    std::sin(beta) * std::sin(kEquatorInclination),
                                std::cos(w) * std::cos(beta));
    const double b = std::asin(-std::sin(w) * std::cos(beta) * std::sin(kEquatorInclination) -
                               std::sin(beta) * std::cos(kEquatorInclination));
    aspect.librationLongitude = Wrap180((a - argumentF) / kDegree);
    aspect.librationLatitude = b / kDegree;

    // The position angle of the axis (53.3), without the physical libration
    // (a few hundredths of a degree).
    const double v = omega + nutation.longitude;
    const double x = std::sin(kEquatorInclination) * std::sin(v);
    const double y = std::sin(kEquatorInclination) * std::cos(v) * std::cos(eps) -
                     std::cos(kEquatorInclination) * std::sin(eps);
    const double omegaAxis = std::atan2(x, y);
    const double sinP = std::sqrt(x * x + y * y) * std::cos(moonEq.alpha - omegaAxis) / std::cos(b);
    aspect.axis = std::asin(std::fmax(-1.0, std::fmin(1.0, sinP))) / kDegree;

    aspect.distanceKm = moonEq.distance;
    aspect.rightAscension = Wrap360(moonEq.alpha / kDegree);
    aspect.declination = moonEq.delta / kDegree;
    if (place) {
        // The parallactic angle (14.1) and the altitude (13.6).
        const double phi = place->latitude * kDegree;
        aspect.parallacticAngle =
            std::atan2(std::sin(hourAngle), std::tan(phi) * std::cos(moonEq.delta) -
                                                std::sin(moonEq.delta) * std::cos(hourAngle)) /
            kDegree;
        aspect.altitude = std::asin(std::sin(phi) * std::sin(moonEq.delta) +
                                    std::cos(phi) * std::cos(moonEq.delta) * std::cos(hourAngle)) /
                          kDegree;
    }
    return aspect;
}

} // namespace norvale::sky
