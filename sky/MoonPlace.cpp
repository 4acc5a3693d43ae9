#include "sky/MoonPlace.h"

#include "sky/Earth.h"
#include "sky/Positions.h"
#include "sky/Sky.h"

#include <cmath>

namespace norvale::sky {

namespace {

using detail::kDegree;
using detail::kEarthRadiusKm;
using detail::kJ2000;
using detail::Wrap180;
using detail::Wrap360;

// The Moon's semi-diameter in arc seconds is this over its distance in km
// (Meeus, Astronomical Algorithms, chapter 55).
constexpr double kSemiDiameterArcSecKm = 358473400.0;
// Standard refraction at the horizon, as the almanacs take it: 34'.
constexpr double kHorizonRefractionDeg = 34.0 / 60.0;
// Positions are computed at whole multiples of this many seconds of UTC.
constexpr std::int64_t kNodeSeconds = 6 * 3600;
// The altitude is sampled this often over a span; between samples, the Moon
// cannot rise and set again unless it grazes the horizon by a few arc seconds.
constexpr std::int64_t kSampleSeconds = 600;

struct Equatorial {
    double raDeg = 0.0;
    double decDeg = 0.0;
    double distanceKm = 0.0;
};

// A position on the mean ecliptic of date onto the mean equator of date, with
// the mean obliquity (Meeus 22.2). Nutation is left out: it moves the right
// ascension and the sidereal time alike, so hour angles keep it out as well.
Equatorial ToEquatorial(const detail::EclipticPosition& p, double jde) {
    const double t = (jde - kJ2000) / 36525.0;
    const double epsilon = (23.0 + 26.0 / 60.0 + 21.448 / 3600.0 -
                            (46.8150 * t + 0.00059 * t * t - 0.001813 * t * t * t) / 3600.0) *
                           kDegree;
    const double lambda = p.longitude * kDegree;
    const double beta = p.latitude * kDegree;
    Equatorial e;
    e.raDeg = Wrap360(
        std::atan2(std::sin(lambda) * std::cos(epsilon) - std::tan(beta) * std::sin(epsilon),
                   std::cos(lambda)) /
        kDegree);
    e.decDeg = std::asin(std::sin(beta) * std::cos(epsilon) +
                         std::cos(beta) * std::sin(epsilon) * std::sin(lambda)) /
               kDegree;
    e.distanceKm = p.distanceKm;
    return e;
}

// The Moon seen from the place: the geocentric position shifted by the
// parallax (Meeus chapter 40, the observer at sea level).
struct Seen {
    double altitudeDeg = 0.0;
    double azimuthDeg = 0.0;
    double hourAngleDeg = 0.0; // topocentric
    double decDeg = 0.0;       // topocentric
    double raDeg = 0.0;        // topocentric
    double semiDiameterDeg = 0.0;
};

Seen SeenFrom(const Observer& place, const Equatorial& moon, double utcSeconds) {
    const double phi = place.latitudeDeg * kDegree;
    const auto [rhoSin, rhoCos] = detail::GeocentricPlaceOf(place.latitudeDeg, 0.0);
    const double sinParallax = kEarthRadiusKm / moon.distanceKm;

    const double jd = detail::JulianDayOf(utcSeconds);
    const double h = (detail::MeanSiderealDeg(jd) + place.longitudeDeg - moon.raDeg) * kDegree;
    const double delta = moon.decDeg * kDegree;
    const double denominator = std::cos(delta) - rhoCos * sinParallax * std::cos(h);
    const double dAlpha = std::atan2(-rhoCos * sinParallax * std::sin(h), denominator);
    const double deltaTopo =
        std::atan2((std::sin(delta) - rhoSin * sinParallax) * std::cos(dAlpha), denominator);
    const double hTopo = h - dAlpha;

    Seen seen;
    seen.altitudeDeg = std::asin(std::sin(phi) * std::sin(deltaTopo) +
                                 std::cos(phi) * std::cos(deltaTopo) * std::cos(hTopo)) /
                       kDegree;
    // Meeus counts the azimuth from the south; from the north it is 180 more.
    seen.azimuthDeg = Wrap360(std::atan2(std::sin(hTopo), std::cos(hTopo) * std::sin(phi) -
                                                              std::tan(deltaTopo) * std::cos(phi)) /
                                  kDegree +
                              180.0);
    seen.hourAngleDeg = Wrap180(hTopo / kDegree);
    seen.decDeg = deltaTopo / kDegree;
    seen.raDeg = Wrap360(moon.raDeg + dAlpha / kDegree);
    seen.semiDiameterDeg = kSemiDiameterArcSecKm / moon.distanceKm / 3600.0;
    return seen;
}

Equatorial ExactMoon(double utcSeconds) {
    const double jde = detail::EphemerisDayOf(utcSeconds);
    return ToEquatorial(detail::MoonAt(jde), jde);
}

// The root of f between a and b, where f changes sign, to a twentieth of a
// second (the Illinois form of false position: bracketed, and fast on the
// smooth curves here).
template <typename F> double Root(F&& f, double a, double fa, double b, double fb) {
    int side = 0;
    for (int i = 0; i < 60 && b - a > 0.05; ++i) {
        const double c = (a * fb - b * fa) / (fb - fa);
        const double fc = f(c);
        if ((fc < 0.0) == (fa < 0.0)) {
            a = c;
            fa = fc;
            if (side == -1) {
                fb /= 2.0;
            }
            side = -1;
        } else {
            b = c;
            fb = fc;
            if (side == 1) {
                fa /= 2.0;
            }
            side = 1;
        }
    }
    return (a * fb - b * fa) / (fb - fa);
}

} // namespace

const MoonEvent* MoonEvents::First(MoonEventKind kind) const {
    for (const MoonEvent& e : events) {
        if (e.kind == kind) {
            return &e;
        }
    }
    return nullptr;
}

std::optional<MoonInSky> MoonInSkyAt(const Observer& place, std::int64_t utcSeconds) {
    if (!InDocumentedRange(utcSeconds)) {
        return std::nullopt;
    }
    const auto t = static_cast<double>(utcSeconds);
    const double jde = detail::EphemerisDayOf(t);
    const Seen moon = SeenFrom(place, ExactMoon(t), t);
    const Equatorial sun = ToEquatorial(detail::SunAt(jde), jde);

    // The bright limb faces the Sun (Meeus 48.5), from where the observer
    // sees the Moon.
    const double a0 = sun.raDeg * kDegree;
    const double d0 = sun.decDeg * kDegree;
    const double a = moon.raDeg * kDegree;
    const double d = moon.decDeg * kDegree;
    const double chi =
        std::atan2(std::cos(d0) * std::sin(a0 - a),
                   std::sin(d0) * std::cos(d) - std::cos(d0) * std::sin(d) * std::cos(a0 - a));
    // The parallactic angle (Meeus 14.1).
    const double phi = place.latitudeDeg * kDegree;
    const double h = moon.hourAngleDeg * kDegree;
    const double q =
        std::atan2(std::sin(h), std::tan(phi) * std::cos(d) - std::sin(d) * std::cos(h));

    MoonInSky sky;
    sky.altitudeDeg = moon.altitudeDeg;
    sky.azimuthDeg = moon.azimuthDeg;
    sky.brightLimbDeg = Wrap360(chi / kDegree);
    sky.parallacticDeg = q / kDegree;
    sky.zenithAngleDeg = Wrap360((chi - q) / kDegree);
    return sky;
}

const MoonTrack::Geocentric& MoonTrack::Node(std::int64_t index) {
    const auto found = m_nodes.find(index);
    if (found != m_nodes.end()) {
        return found->second;
    }
    const Equatorial e = ExactMoon(static_cast<double>(index * kNodeSeconds));
    return m_nodes.emplace(index, Geocentric{e.raDeg, e.decDeg, e.distanceKm}).first->second;
}

MoonTrack::Geocentric MoonTrack::MoonAt(double utcSeconds) {
    // Four nodes around the instant, interpolated with the cubic through them.
    const auto k = static_cast<std::int64_t>(std::floor(utcSeconds / kNodeSeconds));
    const double x = utcSeconds / kNodeSeconds - static_cast<double>(k);
    const double w[4] = {-x * (x - 1.0) * (x - 2.0) / 6.0, (x + 1.0) * (x - 1.0) * (x - 2.0) / 2.0,
                         -(x + 1.0) * x * (x - 2.0) / 2.0, (x + 1.0) * x * (x - 1.0) / 6.0};
    if (k != m_windowIndex) {
        for (int i = 0; i < 4; ++i) {
            m_window[i] = Node(k - 1 + i);
        }
        m_windowIndex = k;
    }
    const double ra0 = m_window[1].raDeg;
    Geocentric out{0.0, 0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        const Geocentric& n = m_window[i];
        out.raDeg += w[i] * Wrap180(n.raDeg - ra0);
        out.decDeg += w[i] * n.decDeg;
        out.distanceKm += w[i] * n.distanceKm;
    }
    out.raDeg = Wrap360(out.raDeg + ra0);
    return out;
}

double MoonTrack::LimbAboveHorizon(double utcSeconds) {
    const Geocentric g = MoonAt(utcSeconds);
    const Seen seen = SeenFrom(m_place, {g.raDeg, g.decDeg, g.distanceKm}, utcSeconds);
    return seen.altitudeDeg + seen.semiDiameterDeg + kHorizonRefractionDeg;
}

double MoonTrack::HourAngle(double utcSeconds) {
    const Geocentric g = MoonAt(utcSeconds);
    return SeenFrom(m_place, {g.raDeg, g.decDeg, g.distanceKm}, utcSeconds).hourAngleDeg;
}

std::optional<MoonEvents> MoonTrack::EventsBetween(std::int64_t fromUtc, std::int64_t toUtc) {
    if (toUtc <= fromUtc || !InDocumentedRange(fromUtc) || !InDocumentedRange(toUtc - 1)) {
        return std::nullopt;
    }
    MoonEvents result;
    const auto limb = [this](double t) { return LimbAboveHorizon(t); };
    const auto hour = [this](double t) { return HourAngle(t); };
    // Both curves from one interpolated position at each sample.
    const auto both = [this](double t, double& limbAt, double& hourAt) {
        const Geocentric g = MoonAt(t);
        const Seen seen = SeenFrom(m_place, {g.raDeg, g.decDeg, g.distanceKm}, t);
        limbAt = seen.altitudeDeg + seen.semiDiameterDeg + kHorizonRefractionDeg;
        hourAt = seen.hourAngleDeg;
    };
    auto a = static_cast<double>(fromUtc);
    double limbA = 0.0;
    double hourA = 0.0;
    both(a, limbA, hourA);
    const double firstLimb = limbA;
    // The samples fall on whole multiples of the step, so neighbouring spans
    // see the same curve; the ends of the span are samples as well.
    std::int64_t next = (fromUtc / kSampleSeconds + 1) * kSampleSeconds;
    while (a < static_cast<double>(toUtc)) {
        const auto b = static_cast<double>(std::min(next, toUtc));
        next += kSampleSeconds;
        double limbB = 0.0;
        double hourB = 0.0;
        both(b, limbB, hourB);
        if ((limbA < 0.0) != (limbB < 0.0)) {
            const double t = Root(limb, a, limbA, b, limbB);
            result.events.push_back(
                {limbA < 0.0 ? MoonEventKind::rise : MoonEventKind::set, std::llround(t), 0.0});
        }
        // The hour angle passes 0 going up; a step from 180 to -180 is not it.
        if (hourA < 0.0 && hourB >= 0.0 && hourB - hourA < 180.0) {
            const double t = Root(hour, a, hourA, b, hourB);
            const Geocentric g = MoonAt(t);
            const double altitude =
                SeenFrom(m_place, {g.raDeg, g.decDeg, g.distanceKm}, t).altitudeDeg;
            result.events.push_back({MoonEventKind::transit, std::llround(t), altitude});
        }
        a = b;
        limbA = limbB;
        hourA = hourB;
    }
    const bool crossed = result.First(MoonEventKind::rise) || result.First(MoonEventKind::set);
    if (!crossed) {
        result.always = firstLimb >= 0.0 ? MoonAlways::up : MoonAlways::down;
    }
    return result;
}

} // namespace norvale::sky
