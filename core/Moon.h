#pragma once

#include "core/DateValue.h"

#include <string>
#include <string_view>

namespace norvale {

inline constexpr double SynodicMonth = 29.530589;
inline constexpr double PhaseStep = SynodicMonth / 28;

// 2002-01-13 13:29:00 local wall-clock time, the new moon all ages count from.
DateValue ReferenceNewMoon();

// Days since the last new moon at the instant v holds, in [0, SynodicMonth).
double MoonAge(const DateValue& v);
// The step 0-27 of the 28-step cycle that v's calendar day belongs to, or -1.
int PhaseDay(const DateValue& v);

// "New Moon", "Waxing Crescent", ... for a phase day; empty for a negative one.
std::string_view PhaseName(int phaseDay);

// "7.13 day, First Quarter": the age of v with the name of its phase day.
std::string AgeText(const DateValue& v);
// The same from an age and a phase day already known.
std::string AgeText(double ageDays, int phaseDay);
// The lit share of the disk for an age: a straight rise from 0 at new moon to
// 100 at half the cycle and back down (no cosine).
double IlluminationPercent(double ageDays);
// "48.3% illuminated": the lit share at the instant v holds.
std::string IlluminationText(const DateValue& v);
// The same from a lit share already known.
std::string IlluminationText(double illuminationPercent);

} // namespace norvale
