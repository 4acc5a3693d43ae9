#include "core/Moon.h"

#include "core/CalendarMath.h"
#include "core/Texts.h"

#include <algorithm>
#include <string>

namespace norvale {

namespace {

// 2002-01-13 13:29:00 on the stored scale, fixed at compile time instead of
// being rebuilt from its fields on every call.
constexpr double kReferenceValue =
    detail::ValueOf(detail::DayNumber(2002, 1, 13), 13 * 3600 + 29 * 60);

// The last second of a day: both day ends of PhaseDay are 23:59:59.
constexpr std::int32_t kLastSecond = detail::kSecondsPerDay - 1;

// Age at a point on the linear day scale: whole hours since the reference new
// moon (half-second nudge, truncated toward zero) in days, reduced modulo the
// synodic month.
double AgeAtLinear(double linear) {
    const DateSpan sinceReference{linear - kReferenceValue, DateStatus::valid};
    return FloorMod(sinceReference.TotalHours() / 24, SynodicMonth);
}

double AgeAtEndOfDay(std::int64_t day) {
    return AgeAtLinear(LinearDays(detail::ValueOf(day, kLastSecond)));
}

// The quarters 7, 14 and 21 belong only to the day in which the quarter instant
// falls; a day lying wholly inside such a step joins the stretch after it.
int StepInsideDay(int step) {
    return step == 7 || step == 14 || step == 21 ? step + 1 : step;
}

// The phase day from the ages b and c at the ends of the day before and of
// the day itself. Strict comparisons throughout; an age exactly on a step
// boundary matches no rule and gives -1.
int PhaseFromDayEnds(double b, double c) {
    if (c < b) {
        return 0; // the age wrapped: the new moon fell in this day
    }
    if (b < PhaseStep && c < PhaseStep) {
        return 1;
    }
    // Both rules below need i * PhaseStep + PhaseStep > b (as c >= b here), so
    // the steps more than one below b's own step can never match: skip them.
    // Starting one step lower than needed leaves a whole step for rounding.
    const int first = std::max(1, static_cast<int>(b / PhaseStep) - 1);
    for (int i = first; i <= 27; ++i) {
        const double e = i * PhaseStep;
        if (b < e && e < c) {
            return i; // step boundary i falls within this day
        }
        if (e < b && c < e + PhaseStep) {
            return StepInsideDay(i);
        }
    }
    return -1;
}

} // namespace

DateValue ReferenceNewMoon() {
    DateValue reference;
    reference.FromFields(2002, 1, 13, 13, 29, 0);
    return reference;
}

double MoonAge(const DateValue& v) {
    return AgeAtLinear(LinearDays(v.value));
}

int PhaseDay(const DateValue& v) {
    // Only the calendar day of v matters: one split of its value gives the day
    // number, and the two day ends are built on the stored scale directly.
    detail::DayAndSecond split;
    if (v.status != DateStatus::valid || !detail::SplitValue(v.value, split)) {
        return -1;
    }
    const double b = AgeAtEndOfDay(split.day - 1);
    const double c = AgeAtEndOfDay(split.day);
    return PhaseFromDayEnds(b, c);
}

std::string_view PhaseName(int phaseDay) {
    if (phaseDay < 0) {
        return {};
    }
    if (phaseDay == 0) {
        return "New Moon";
    }
    if (phaseDay < 7) {
        return "Waxing Crescent";
    }
    if (phaseDay == 7) {
        return "First Quarter";
    }
    if (phaseDay < 14) {
        return "Waxing Gibbous";
    }
    if (phaseDay == 14) {
        return "Full Moon";
    }
    if (phaseDay < 21) {
        return "Waning Gibbous";
    }
    if (phaseDay == 21) {
        return "Last Quarter";
    }
    return "Waning Crescent";
}

std::string AgeText(const DateValue& v) {
    return AgeText(MoonAge(v), PhaseDay(v));
}

std::string AgeText(double ageDays, int phaseDay) {
    std::string text = FixedText(ageDays, 2) + " day";
    const std::string_view name = PhaseName(phaseDay);
    if (!name.empty()) {
        text += ", ";
        text += name;
    }
    return text;
}

double IlluminationPercent(double ageDays) {
    double x = ageDays / SynodicMonth;
    if (x > 0.5) {
        x = 1 - x;
    }
    return 100 * (2 * x);
}

std::string IlluminationText(const DateValue& v) {
    return IlluminationText(IlluminationPercent(MoonAge(v)));
}

std::string IlluminationText(double illuminationPercent) {
    return FixedText(illuminationPercent, 1) + "% illuminated";
}

} // namespace norvale
