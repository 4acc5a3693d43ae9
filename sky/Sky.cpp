#include "sky/Sky.h"

#include "sky/PhaseSolver.h"
#include "sky/PhaseTable.h"
#include "sky/Positions.h"

#include <algorithm>
#include <cmath>

namespace norvale::sky {

namespace {

using detail::kBrownLunationOfPhaseZero;

// An instant whose elongation lies this close to a quarter (about 70 s of
// time) is placed by the searched, rounded phase instant instead, so that the
// previous and next instants always bracket it. The search agrees with the
// elongation to a fraction of a second.
constexpr double kBoundaryDegrees = 0.01;

Phase PhaseOfQuarter(int quarter) {
    return static_cast<Phase>(quarter);
}

} // namespace

std::int64_t SkyTimeline::PhaseSeconds(std::int64_t n) {
    const auto found = m_solved.find(n);
    if (found != m_solved.end()) {
        return found->second;
    }
    // The table holds every phase of the range; a search is the fallback.
    const std::optional<double> tabulated = detail::TabulatedPhaseDay(n);
    const double seconds =
        detail::UnixSecondsOfEphemerisDay(tabulated ? *tabulated : detail::SolvePhase(n));
    const auto rounded = static_cast<std::int64_t>(std::llround(seconds));
    m_solved.emplace(n, rounded);
    return rounded;
}

std::optional<SkyFigures> SkyTimeline::At(std::int64_t utcSeconds) {
    if (!InDocumentedRange(utcSeconds)) {
        return std::nullopt;
    }
    const double jde = detail::EphemerisDayOf(static_cast<double>(utcSeconds));
    const detail::EclipticPosition moon = detail::MoonAt(jde);
    const detail::EclipticPosition sun = detail::SunAt(jde);

    // The elongation tells which quarter of its lunation the instant is in;
    // the mean new moon nearest to "elongation ago at the mean rate" tells
    // which lunation (the true and mean ones are less than a day apart).
    const double elongation = detail::Elongation(moon, sun);
    const int quarter = std::min(3, static_cast<int>(elongation / 90.0));
    const double lunationStart = jde - elongation / detail::kMeanDegreesPerDay;
    const auto lunation =
        static_cast<std::int64_t>(std::llround(detail::MeanPhaseNumber(lunationStart) / 4.0));
    std::int64_t n = 4 * lunation + quarter; // the phase most recently passed

    const double intoQuarter = elongation - 90.0 * quarter;
    if (intoQuarter < kBoundaryDegrees && PhaseSeconds(n) > utcSeconds) {
        --n;
    } else if (90.0 - intoQuarter < kBoundaryDegrees && PhaseSeconds(n + 1) <= utcSeconds) {
        ++n;
    }

    SkyFigures figures;
    figures.previousNewMoon = PhaseSeconds(4 * detail::LunationOf(n));
    for (std::int64_t next = n + 1; next <= n + 4; ++next) {
        const std::int64_t seconds = PhaseSeconds(next);
        switch (PhaseOfQuarter(detail::QuarterOf(next))) {
        case Phase::newMoon:
            figures.nextNewMoon = seconds;
            break;
        case Phase::firstQuarter:
            figures.nextFirstQuarter = seconds;
            break;
        case Phase::fullMoon:
            figures.nextFullMoon = seconds;
            break;
        case Phase::lastQuarter:
            figures.nextLastQuarter = seconds;
            break;
        }
    }
    figures.ageDays =
        static_cast<double>(utcSeconds - figures.previousNewMoon) / detail::kSecondsPerDay;
    figures.lunation = static_cast<int>(detail::LunationOf(n) + kBrownLunationOfPhaseZero);
    figures.illuminationPercent = 100.0 * detail::IlluminatedFraction(moon, sun);
    figures.distanceKm = moon.distanceKm;
    return figures;
}

std::vector<PhaseInstant> SkyTimeline::PhasesBetween(std::int64_t fromUtc, std::int64_t toUtc) {
    const std::int64_t from = std::max(fromUtc, kFirstSecond);
    const std::int64_t to = std::min(toUtc, kLastSecond);
    std::vector<PhaseInstant> phases;
    if (from > to) {
        return phases;
    }
    // True phases lie within a day of the mean ones and a quarter apart is
    // over seven days, so one more phase on each side covers the span.
    const auto first = static_cast<std::int64_t>(
        std::floor(detail::MeanPhaseNumber(detail::EphemerisDayOf(static_cast<double>(from)))));
    const auto last = static_cast<std::int64_t>(
        std::ceil(detail::MeanPhaseNumber(detail::EphemerisDayOf(static_cast<double>(to)))));
    phases.reserve(static_cast<std::size_t>(last - first + 3));
    for (std::int64_t n = first - 1; n <= last + 1; ++n) {
        const std::int64_t seconds = PhaseSeconds(n);
        if (seconds >= from && seconds <= to) {
            phases.push_back({PhaseOfQuarter(detail::QuarterOf(n)), seconds,
                              static_cast<int>(detail::LunationOf(n) + kBrownLunationOfPhaseZero)});
        }
    }
    return phases;
}

std::optional<SkyFigures> SkyAt(std::int64_t utcSeconds) {
    SkyTimeline timeline;
    return timeline.At(utcSeconds);
}

std::vector<PhaseInstant> PhasesBetween(std::int64_t fromUtc, std::int64_t toUtc) {
    SkyTimeline timeline;
    return timeline.PhasesBetween(fromUtc, toUtc);
}

} // namespace norvale::sky
