#include "sky/Sky.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace norvale::sky {

namespace {

// TT - UT1 at the start of each year from 1955 to 2025, in seconds: the
// measured values of the IERS (Earth Orientation Centre, and the USNO's
// series "deltat.data" and Bulletin A), within 0.1 s.
constexpr double kFirstMeasuredYear = 1955.0;
constexpr std::array<double, 71> kMeasured = {
    31.07, 31.35, 31.68, 32.18, 32.68, 33.15, 33.59, 34.00, 34.47, 35.03, // 1955
    35.73, 36.54, 37.43, 38.29, 39.20, 40.18, 41.17, 42.23, 43.37, 44.49, // 1965
    45.48, 46.46, 47.52, 48.53, 49.59, 50.54, 51.38, 52.17, 52.96, 53.79, // 1975
    54.34, 54.87, 55.32, 55.82, 56.30, 56.86, 57.57, 58.31, 59.12, 59.98, // 1985
    60.78, 61.63, 62.30, 62.97, 63.47, 63.83, 64.09, 64.30, 64.47, 64.57, // 1995
    64.69, 64.85, 65.15, 65.46, 65.78, 66.07, 66.32, 66.60, 66.91, 67.28, // 2005
    67.64, 68.10, 68.59, 68.97, 69.22, 69.36, 69.36, 69.29, 69.20, 69.18, // 2015
    69.14,                                                                // 2025
};
constexpr double kLastMeasuredYear = kFirstMeasuredYear + kMeasured.size() - 1;

// The long-term parabola of Morrison and Stephenson (2004).
double LongTermParabola(double y) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
}

// After the last measured year: a cubic that leaves the last value with the
// trend of the last two years and meets the long-term parabola in 2150 with
// its slope, so there is no step and no kink at either end (about 70 s in
// 2030, 87 s in 2050 and 199 s in 2100).
constexpr double kParabolaFrom = 2150.0;

double Extrapolated(double y) {
    const double span = kParabolaFrom - kLastMeasuredYear;
    const double s = (y - kLastMeasuredYear) / span;
    const double v0 = kMeasured.back();
    const double d0 = (kMeasured.back() - kMeasured[kMeasured.size() - 3]) / 2.0 * span;
    const double v1 = LongTermParabola(kParabolaFrom);
    const double d1 = 0.64 * (kParabolaFrom - 1820.0) / 100.0 * span; // the parabola's slope
    const double s2 = s * s;
    const double s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * v0 + (s3 - 2 * s2 + s) * d0 + (-2 * s3 + 3 * s2) * v1 +
           (s3 - s2) * d1;
}

double Measured(double y) {
    const double into = std::clamp(y, kFirstMeasuredYear, kLastMeasuredYear) - kFirstMeasuredYear;
    const auto i = std::min(static_cast<std::size_t>(into), kMeasured.size() - 2);
    return kMeasured[i] + (kMeasured[i + 1] - kMeasured[i]) * (into - static_cast<double>(i));
}

// The Espenak-Meeus polynomials, each as published for its span of years.
double Before1800(double y) {
    if (y < -500.0) {
        return LongTermParabola(y);
    }
    if (y < 500.0) {
        const double u = y / 100.0;
        return 10583.6 +
               u * (-1014.41 +
                    u * (33.78311 + u * (-5.952053 +
                                         u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
    }
    if (y < 1600.0) {
        const double u = (y - 1000.0) / 100.0;
        return 1574.2 +
               u * (-556.01 +
                    u * (71.23472 + u * (0.319781 + u * (-0.8503463 +
                                                         u * (-0.005050998 + u * 0.0083572073)))));
    }
    if (y < 1700.0) {
        const double t = y - 1600.0;
        return 120.0 + t * (-0.9808 + t * (-0.01532 + t / 7129.0));
    }
    const double t = y - 1700.0;
    return 8.83 + t * (0.1603 + t * (-0.0059285 + t * (0.00013336 - t / 1174000.0)));
}

double From1800(double y) {
    const double t = y - 1800.0;
    return 13.72 +
           t * (-0.332447 +
                t * (0.0068612 +
                     t * (0.0041116 +
                          t * (-0.00037436 +
                               t * (0.0000121272 + t * (-0.0000001699 + t * 0.000000000875))))));
}

double From1860(double y) {
    const double t = y - 1860.0;
    return 7.62 +
           t * (0.5737 + t * (-0.251754 + t * (0.01680668 + t * (-0.0004473624 + t / 233174.0))));
}

double From1900(double y) {
    const double t = y - 1900.0;
    return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
}

double From1920(double y) {
    const double t = y - 1920.0;
    return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
}

double From1941(double y) {
    const double t = y - 1950.0;
    return 29.07 + t * (0.407 + t * (-1.0 / 233.0 + t / 2547.0));
}

struct Segment {
    double from;
    double (*seconds)(double);
};

// Each segment from its first year on. Neighbours differ by up to 0.1 s
// where they meet (the fits were made separately), so over the half year
// either side of a join the value passes from one to the other in a straight
// blend: no step between two days anywhere.
constexpr std::array<Segment, 9> kSegments = {{
    {-1.0e9, Before1800},
    {1800.0, From1800},
    {1860.0, From1860},
    {1900.0, From1900},
    {1920.0, From1920},
    {1941.0, From1941},
    {kFirstMeasuredYear, Measured},
    {kLastMeasuredYear, Extrapolated},
    {kParabolaFrom, LongTermParabola},
}};
constexpr double kHalfBlend = 0.5;

} // namespace

// TT - UT: from 1955 the measured yearly values, straight between them;
// before, the polynomials of F. Espenak and J. Meeus, "Polynomial
// Expressions for Delta T", NASA eclipse web site (Five Millennium Canon of
// Solar Eclipses: -1999 to +3000), fitted to the values measured from the
// historical record and from direct observations (Morrison and Stephenson
// 2004); after the measurements, the extrapolation above. docs/sky.md gives
// the sources and their uncertainty.
double DeltaTSeconds(double y) {
    std::size_t i = kSegments.size() - 1;
    while (i > 0 && y < kSegments[i].from) {
        --i;
    }
    // Near a join, blend with the neighbour across it.
    if (i + 1 < kSegments.size() && y > kSegments[i + 1].from - kHalfBlend) {
        ++i;
    }
    const double into = y - kSegments[i].from;
    if (i > 0 && into < kHalfBlend) {
        const double w = (into + kHalfBlend) / (2.0 * kHalfBlend);
        return (1.0 - w) * kSegments[i - 1].seconds(y) + w * kSegments[i].seconds(y);
    }
    return kSegments[i].seconds(y);
}

} // namespace norvale::sky
