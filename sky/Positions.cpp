#include "sky/Positions.h"

#include "sky/Sky.h"

#include <libnova/lunar.h>
#include <libnova/solar.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace norvale::sky::detail {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kArcSecond = kDegree / 3600.0;
constexpr double kJ2000 = 2451545.0;
constexpr double kKmPerAu = 149597870.7;

// The Moon is seen where it was one light-time earlier: 384400 km / c, or
// 1.28 s (0.7" of its path). Its distance changes the delay by 0.07 s at most.
constexpr double kMoonLightTimeDays = 384400.0 / 299792.458 / kSecondsPerDay;

// The constant of annual aberration for the Sun, in arc seconds at 1 AU
// (Meeus, Astronomical Algorithms, 25.10).
constexpr double kSunAberrationArcSeconds = 20.4898;

double Wrap360(double degrees) {
    const double r = std::fmod(degrees, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

// libnova gives both bodies on the mean ecliptic and equinox of J2000. This
// turns a longitude and latitude there into the mean ecliptic and equinox of
// date: Meeus, Astronomical Algorithms, 21.5-21.7, from J2000 (T = 0).
void PrecessFromJ2000(double jde, double& longitude, double& latitude) {
    const double t = (jde - kJ2000) / 36525.0;
    const double eta = ((47.0029 - 0.03302 * t + 0.000060 * t * t) * t) * kArcSecond;
    const double bigPi = 174.876383889 * kDegree + (-869.8089 * t + 0.03536 * t * t) * kArcSecond;
    const double p = ((5029.0966 + 1.11113 * t - 0.000006 * t * t) * t) * kArcSecond;

    const double lambda0 = longitude * kDegree;
    const double beta0 = latitude * kDegree;
    const double a = std::cos(eta) * std::cos(beta0) * std::sin(bigPi - lambda0) -
                     std::sin(eta) * std::sin(beta0);
    const double b = std::cos(beta0) * std::cos(bigPi - lambda0);
    const double c = std::cos(eta) * std::sin(beta0) +
                     std::sin(eta) * std::cos(beta0) * std::sin(bigPi - lambda0);
    longitude = Wrap360((p + bigPi - std::atan2(a, b)) / kDegree);
    latitude = std::asin(std::clamp(c, -1.0, 1.0)) / kDegree;
}

struct Vector {
    double x, y, z;
};

Vector ToVector(const EclipticPosition& p) {
    const double lon = p.longitude * kDegree;
    const double lat = p.latitude * kDegree;
    return {p.distanceKm * std::cos(lat) * std::cos(lon),
            p.distanceKm * std::cos(lat) * std::sin(lon), p.distanceKm * std::sin(lat)};
}

} // namespace

EclipticPosition MoonAt(double jde, double precision) {
    ln_rect_posn rect{};
    ln_get_lunar_geo_posn(jde - kMoonLightTimeDays, &rect, precision);
    EclipticPosition moon;
    moon.longitude = std::atan2(rect.Y, rect.X) / kDegree;
    moon.latitude = std::atan2(rect.Z, std::hypot(rect.X, rect.Y)) / kDegree;
    moon.distanceKm = std::sqrt(rect.X * rect.X + rect.Y * rect.Y + rect.Z * rect.Z);
    PrecessFromJ2000(jde, moon.longitude, moon.latitude);
    return moon;
}

EclipticPosition SunAt(double jde) {
    ln_helio_posn geometric{};
    ln_get_solar_geom_coords(jde, &geometric);
    EclipticPosition sun;
    sun.longitude = geometric.L;
    sun.latitude = geometric.B;
    sun.distanceKm = geometric.R * kKmPerAu;
    PrecessFromJ2000(jde, sun.longitude, sun.latitude);
    sun.longitude = Wrap360(sun.longitude - kSunAberrationArcSeconds / geometric.R / 3600.0);
    return sun;
}

double Elongation(const EclipticPosition& moon, const EclipticPosition& sun) {
    return Wrap360(moon.longitude - sun.longitude);
}

double IlluminatedFraction(const EclipticPosition& moon, const EclipticPosition& sun) {
    // The phase angle between the directions Moon-Sun and Moon-Earth.
    const Vector m = ToVector(moon);
    const Vector s = ToVector(sun);
    const Vector toSun{s.x - m.x, s.y - m.y, s.z - m.z};
    const Vector toEarth{-m.x, -m.y, -m.z};
    const double dot = toSun.x * toEarth.x + toSun.y * toEarth.y + toSun.z * toEarth.z;
    const Vector cross{toSun.y * toEarth.z - toSun.z * toEarth.y,
                       toSun.z * toEarth.x - toSun.x * toEarth.z,
                       toSun.x * toEarth.y - toSun.y * toEarth.x};
    const double phaseAngle =
        std::atan2(std::sqrt(cross.x * cross.x + cross.y * cross.y + cross.z * cross.z), dot);
    return (1.0 + std::cos(phaseAngle)) / 2.0;
}

double DecimalYear(double julianDay) {
    // 2451544.5 is 2000-01-01 00:00; a mean Gregorian year is 365.2425 days.
    return 2000.0 + (julianDay - 2451544.5) / 365.2425;
}

double JulianDayOf(double unixSeconds) {
    return kUnixEpochJulianDay + unixSeconds / kSecondsPerDay;
}

double EphemerisDayOf(double unixSeconds) {
    const double jd = JulianDayOf(unixSeconds);
    return jd + DeltaTSeconds(DecimalYear(jd)) / kSecondsPerDay;
}

double UnixSecondsOfEphemerisDay(double jde) {
    const double deltaT = DeltaTSeconds(DecimalYear(jde));
    return (jde - kUnixEpochJulianDay) * kSecondsPerDay - deltaT;
}

} // namespace norvale::sky::detail
