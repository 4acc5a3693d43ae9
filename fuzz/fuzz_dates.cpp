// The date value and the Moon computations under arbitrary input.
//
// Every operation must run without a crash or undefined behaviour for any
// fields, day counts and spans, NaN and infinities included. For the values
// the program itself produces (whole seconds, days from 1900-01-01 to
// 9999-01-01) the results must also keep their invariants:
//  - a valid value built from fields converts back to the same fields;
//  - FromLinearDays undoes LinearDays for values >= 0 and whole negative days;
//  - a day count that converts to fields converts back within half a second;
//  - one day forward keeps the time of day and is exactly one day later;
//  - the Moon's age lies in [0, 29.530589) and the phase day in 0 to 27.

#include "core/DateValue.h"
#include "core/Moon.h"
#include "core/Texts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using norvale::DateSpan;
using norvale::DateStatus;
using norvale::DateValue;
using norvale::SystemTime;

// 1900-01-01 and 9999-01-01 as day counts: the date picker's range.
constexpr double FirstPickerDay = 2.0;
constexpr double LastPickerDay = 2958101.0;
constexpr double HalfSecond = 0.5 / 86400.0;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Everything must merely survive these: no checks beyond the absence of
// crashes and of undefined behaviour (the sanitizers watch).
void Exercise(FuzzedDataProvider& in) {
    DateValue v(in.ConsumeFloatingPoint<double>(),
                static_cast<DateStatus>(in.ConsumeIntegralInRange<int>(0, 2)));
    const DateValue w(in.ConsumeFloatingPoint<double>(), DateStatus::valid);
    const DateSpan s(in.ConsumeFloatingPoint<double>(), DateStatus::valid);

    SystemTime fields;
    (void)v.ToFields(fields);
    (void)v.Year();
    (void)v.Month();
    (void)v.Day();
    (void)v.EndOfDay();
    (void)(v + s);
    (void)(v - s);
    (void)(v - w);
    (void)s.TotalHours();
    (void)s.TotalMinutes();
    (void)s.TotalSeconds();
    (void)norvale::Elapsed(v, w, static_cast<norvale::TimeUnit>(in.ConsumeIntegral<int>()));
    (void)norvale::FloorMod(v.value, w.value);
    (void)norvale::FloorMod(s.span, norvale::SynodicMonth);
    (void)norvale::LinearDays(v.value);
    (void)norvale::FromLinearDays(v.value);
    int dayOfYear = 0;
    (void)norvale::DaysToFields(v.value, fields, &dayOfYear);
    double days = 0.0;
    (void)norvale::FieldsToDays(fields, days);
    (void)norvale::MoonAge(v);
    (void)norvale::PhaseDay(v);
    (void)norvale::AgeText(v);
    (void)norvale::IlluminationText(v);
    (void)norvale::DayCaption(v);
    (void)v.Format(norvale::DateFormatPattern(in.ConsumeIntegral<int>(), false));
    v += s;
    v -= s;
    v.FromUnixTime(in.ConsumeIntegral<std::int64_t>());
}

// Arbitrary fields (as the 16-bit fields they are stored in) through the
// validated conversion.
void CheckFields(FuzzedDataProvider& in) {
    const std::int32_t year = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t month = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t day = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t hour = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t minute = in.ConsumeIntegral<std::int32_t>();
    const std::int32_t second = in.ConsumeIntegral<std::int32_t>();

    DateValue v(in.ConsumeFloatingPoint<double>(), DateStatus::null);
    v.FromFields(year, month, day, hour, minute, second);
    (void)v.Format(norvale::DateFormatPattern(in.ConsumeIntegral<int>(), false));
    if (v.status != DateStatus::valid) {
        Check(v.status == DateStatus::invalid);
        return;
    }
    SystemTime back;
    Check(v.ToFields(back));
    Check(back.wYear == static_cast<std::uint16_t>(year));
    Check(back.wMonth == static_cast<std::uint16_t>(month));
    Check(back.wDay == static_cast<std::uint16_t>(day));
    Check(back.wHour == static_cast<std::uint16_t>(hour));
    Check(back.wMinute == static_cast<std::uint16_t>(minute));
    Check(back.wSecond == static_cast<std::uint16_t>(second));
    Check(v.Year() == back.wYear && v.Month() == back.wMonth && v.Day() == back.wDay);
}

// An arbitrary day count: if it converts to fields, they are in range and
// convert back to within half a second of it (on the linear scale).
void CheckDayCount(double value) {
    SystemTime fields;
    int dayOfYear = 0;
    if (!norvale::DaysToFields(value, fields, &dayOfYear)) {
        return;
    }
    Check(std::isfinite(value));
    Check(fields.wYear >= 100 && fields.wYear <= 9999);
    Check(fields.wMonth >= 1 && fields.wMonth <= 12);
    Check(fields.wDay >= 1 && fields.wDay <= 31);
    Check(fields.wHour <= 23 && fields.wMinute <= 59 && fields.wSecond <= 59);
    Check(fields.wDayOfWeek <= 6);
    Check(dayOfYear >= 1 && dayOfYear <= 366);
    double back = 0.0;
    Check(norvale::FieldsToDays(fields, back));
    const double gap = norvale::LinearDays(back) - norvale::LinearDays(value);
    Check(std::fabs(gap) <= HalfSecond + 1e-9);
}

void CheckLinearDays(double value) {
    if (!std::isfinite(value)) {
        return;
    }
    if (value >= 0.0 || value == std::floor(value)) {
        Check(norvale::FromLinearDays(norvale::LinearDays(value)) == value);
    }
}

// A day of the picker's range at a whole second, as the window builds it.
void CheckPickerDay(FuzzedDataProvider& in) {
    const auto day = static_cast<double>(in.ConsumeIntegralInRange<std::int32_t>(
        static_cast<std::int32_t>(FirstPickerDay), static_cast<std::int32_t>(LastPickerDay)));
    SystemTime date;
    Check(norvale::DaysToFields(day, date));
    DateValue v;
    v.FromFields(date.wYear, date.wMonth, date.wDay, in.ConsumeIntegralInRange<int>(0, 23),
                 in.ConsumeIntegralInRange<int>(0, 59), in.ConsumeIntegralInRange<int>(0, 59));
    Check(v.status == DateStatus::valid);
    Check(v.value >= FirstPickerDay && v.value < LastPickerDay + 1.0);

    const double age = norvale::MoonAge(v);
    Check(age >= 0.0 && age < norvale::SynodicMonth);
    if (v.value < LastPickerDay) {
        const int phaseDay = norvale::PhaseDay(v);
        Check(phaseDay >= 0 && phaseDay <= 27);
    }

    // One day forward keeps the time of day and is exactly one day later.
    const DateValue next = v + norvale::OneDay;
    Check(next.status == DateStatus::valid);
    SystemTime a;
    SystemTime b;
    Check(v.ToFields(a) && next.ToFields(b));
    Check(a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond);
    Check(norvale::Elapsed(v, next, norvale::TimeUnit::days) == 1.0);
    const DateValue back = next - norvale::OneDay;
    SystemTime c;
    Check(back.ToFields(c) && c == a);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        Exercise(in);
        break;
    case 1:
        CheckFields(in);
        break;
    case 2: {
        const double value = in.ConsumeFloatingPoint<double>();
        CheckDayCount(value);
        CheckLinearDays(value);
        CheckLinearDays(std::floor(value));
        break;
    }
    default:
        CheckPickerDay(in);
        break;
    }
    return 0;
}
