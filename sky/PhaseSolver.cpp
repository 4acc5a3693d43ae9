#include "sky/PhaseSolver.h"

#include "sky/Positions.h"

#include <cmath>

namespace norvale::sky::detail {

namespace {

constexpr double kFirstMeanNewMoon = 2451550.09766; // 2000-01-06, Meeus 49.1

// The secant steps stop once the next error, about C |step| |previous step|
// (C = f'' / 2 f', at most 0.6 / (2 x 10) = 0.03 per day for the Moon), is
// below 0.1 s. Three positions of the Moon usually get there.
constexpr double kConvergence = 0.03;
constexpr double kTolerableErrorDays = 0.1 / kSecondsPerDay;
constexpr int kMaxSteps = 12;

double Wrap180(double degrees) {
    double r = std::fmod(degrees, 360.0);
    if (r > 180.0) {
        r -= 360.0;
    } else if (r <= -180.0) {
        r += 360.0;
    }
    return r;
}

// The Sun moves so smoothly that, within the day a search spans, a straight
// line through its positions at the first two guesses is good to 0.1" (0.2 s
// of a phase instant): each search costs two positions of the Sun.
class SunLine {
public:
    SunLine(double t0, const EclipticPosition& sun0, double t1)
        : m_t0(t0), m_t1(t1), m_sun0(sun0), m_sun1(SunAt(t1)) {}

    EclipticPosition At(double t) const {
        if (t == m_t0) {
            return m_sun0;
        }
        if (t == m_t1) {
            return m_sun1;
        }
        const double f = (t - m_t0) / (m_t1 - m_t0);
        EclipticPosition sun;
        sun.longitude = m_sun0.longitude + Wrap180(m_sun1.longitude - m_sun0.longitude) * f;
        sun.latitude = m_sun0.latitude + (m_sun1.latitude - m_sun0.latitude) * f;
        sun.distanceKm = m_sun0.distanceKm + (m_sun1.distanceKm - m_sun0.distanceKm) * f;
        return sun;
    }

private:
    double m_t0;
    double m_t1;
    EclipticPosition m_sun0;
    EclipticPosition m_sun1;
};

} // namespace

std::int64_t LunationOf(std::int64_t n) {
    return n >= 0 ? n / 4 : -((-n + 3) / 4);
}

int QuarterOf(std::int64_t n) {
    return static_cast<int>(n - 4 * LunationOf(n));
}

double MeanPhaseDay(std::int64_t n) {
    const double k = static_cast<double>(n) / 4.0;
    const double t = k / 1236.85;
    return kFirstMeanNewMoon + kMeanSynodicMonth * k +
           t * t * (0.00015437 + t * (-0.000000150 + t * 0.00000000073));
}

double MeanPhaseNumber(double jde) {
    return (jde - kFirstMeanNewMoon) / kMeanSynodicMonth * 4.0;
}

double SolvePhase(std::int64_t n) {
    const double target = 90.0 * QuarterOf(n);
    const auto offset = [target](double t, const EclipticPosition& sun) {
        return Wrap180(Elongation(MoonAt(t), sun) - target);
    };

    // The mean phase is within a day of the true one; one step at the mean
    // rate, then secant steps.
    double t0 = MeanPhaseDay(n);
    const EclipticPosition sun0 = SunAt(t0);
    double f0 = offset(t0, sun0);
    if (f0 == 0.0) {
        return t0;
    }
    double t1 = t0 - f0 / kMeanDegreesPerDay;
    const SunLine sun(t0, sun0, t1);
    double f1 = offset(t1, sun.At(t1));
    for (int step = 0; step < kMaxSteps && f1 != 0.0 && f1 != f0; ++step) {
        const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        if (kConvergence * std::fabs(t2 - t1) * std::fabs(t1 - t0) < kTolerableErrorDays) {
            return t2;
        }
        t0 = t1;
        f0 = f1;
        t1 = t2;
        f1 = offset(t1, sun.At(t1));
    }
    return t1;
}

double SolvePhaseExactly(std::int64_t n) {
    const double target = 90.0 * QuarterOf(n);
    const auto offset = [target](double t) {
        return Wrap180(Elongation(MoonAt(t, kFullMoonSeries), SunAt(t)) - target);
    };
    // The quick search is within 9 s; secant steps from there and 10 s on.
    constexpr double kMillisecond = 0.001 / kSecondsPerDay;
    double t0 = SolvePhase(n);
    double t1 = t0 + 10.0 / kSecondsPerDay;
    double f0 = offset(t0);
    double f1 = offset(t1);
    for (int step = 0; step < kMaxSteps && f1 != f0; ++step) {
        const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        if (std::fabs(t2 - t1) < kMillisecond) {
            return t2;
        }
        t0 = t1;
        f0 = f1;
        t1 = t2;
        f1 = offset(t1);
    }
    return t1;
}

} // namespace norvale::sky::detail
