#include "core/DateValue.h"

#include "core/CalendarMath.h"
#include "core/Clock.h"

#include <chrono>
#include <cmath>
#include <limits>

namespace norvale {

namespace {

constexpr double kMaxDifferenceDays = 3615897.0;
// Half a second in days: the nudge that makes the totals round a span that is
// a whole number of seconds short of a unit up to it before truncating.
constexpr double kHalfSecond = 0.5 / detail::kSecondsPerDay;

// Truncates toward zero into the signed 32-bit range. Values beyond it
// saturate at the nearest bound and NaN gives 0, so no input is undefined.
std::int32_t SaturatingTruncate(double x) {
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (std::isnan(x)) {
        return 0;
    }
    if (x >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (x <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(x);
}

double WholeUnits(double span, double unitsPerDay) {
    const double nudged = span >= 0 ? span + kHalfSecond : span - kHalfSecond;
    return SaturatingTruncate(nudged * unitsPerDay);
}

bool SameFields(const SystemTime& a, const SystemTime& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

} // namespace

bool FieldsToDays(const SystemTime& fields, double& out) {
    const auto signedYear = static_cast<std::int16_t>(fields.wYear);
    if (fields.wMonth > 12 || fields.wDay > 31 || signedYear < 0 || fields.wYear > 9999) {
        return false;
    }
    // Outside the listed failures: month 0, years below 100 and times of day
    // beyond 23:59:59 are rejected too rather than guessed at.
    if (fields.wMonth == 0 || fields.wHour > 23 || fields.wMinute > 59 || fields.wSecond > 59) {
        return false;
    }
    const std::int64_t day = detail::DayNumber(fields.wYear, fields.wMonth, fields.wDay);
    if (day < detail::kFirstDay || day > detail::kLastDay) {
        return false;
    }
    const std::int32_t second = fields.wHour * 3600 + fields.wMinute * 60 + fields.wSecond;
    out = detail::ValueOf(day, second);
    return true;
}

bool DaysToFields(double value, SystemTime& out, int* dayOfYear) {
    detail::DayAndSecond split;
    if (!detail::SplitValue(value, split)) {
        return false;
    }
    using namespace std::chrono;
    const sys_days date = detail::kEpoch + days{split.day};
    const year_month_day ymd{date};
    out.wYear = static_cast<std::uint16_t>(static_cast<int>(ymd.year()));
    out.wMonth = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.month()));
    out.wDay = static_cast<std::uint16_t>(static_cast<unsigned>(ymd.day()));
    out.wDayOfWeek = static_cast<std::uint16_t>(weekday{date}.c_encoding());
    out.wHour = static_cast<std::uint16_t>(split.second / 3600);
    out.wMinute = static_cast<std::uint16_t>(split.second / 60 % 60);
    out.wSecond = static_cast<std::uint16_t>(split.second % 60);
    out.wMilliseconds = 0;
    if (dayOfYear != nullptr) {
        const sys_days newYear{ymd.year() / January / 1};
        *dayOfYear = static_cast<int>((date - newYear).count()) + 1;
    }
    return true;
}

double LinearDays(double value) {
    if (value >= 0) {
        return value;
    }
    const double c = std::ceil(value);
    return c - (value - c);
}

double FromLinearDays(double linear) {
    if (linear >= 0) {
        return linear;
    }
    const double w = std::floor(linear);
    return w + (w - linear);
}

double DateSpan::TotalHours() const {
    return WholeUnits(span, 24.0);
}
double DateSpan::TotalMinutes() const {
    return WholeUnits(span, 1440.0);
}
double DateSpan::TotalSeconds() const {
    return WholeUnits(span, 86400.0);
}

void DateValue::FromFields(std::int32_t year, std::int32_t month, std::int32_t day,
                           std::int32_t hour, std::int32_t minute, std::int32_t second) {
    // Each field is kept as 16 bits, as in the calendar record: -1 becomes 65535.
    FromSystemTime(MakeSystemTime(year, month, day, hour, minute, second));
}

void DateValue::FromSystemTime(const SystemTime& fields) {
    // The value is written even when the back-conversion disagrees, so a day 0
    // or a day 30 of February yields the rolled-over date with status invalid.
    if (!FieldsToDays(fields, value)) {
        status = DateStatus::invalid;
        return;
    }
    SystemTime back;
    const bool converted = DaysToFields(value, back);
    status = converted && SameFields(fields, back) ? DateStatus::valid : DateStatus::invalid;
}

void DateValue::FromUnixTime(std::int64_t seconds) {
    std::tm local{};
    if (!BreakDownLocalTime(seconds, local)) {
        status = DateStatus::invalid;
        return;
    }
    // A year that does not fit the calendar record would wrap around in its
    // 16 bits and name a wrong but valid-looking date; refuse it instead.
    const std::int64_t year = static_cast<std::int64_t>(local.tm_year) + 1900;
    if (year < 0 || year > 9999) {
        status = DateStatus::invalid;
        return;
    }
    SystemTime fields;
    fields.wYear = static_cast<std::uint16_t>(year);
    fields.wMonth = static_cast<std::uint16_t>(local.tm_mon + 1);
    fields.wDayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
    fields.wDay = static_cast<std::uint16_t>(local.tm_mday);
    fields.wHour = static_cast<std::uint16_t>(local.tm_hour);
    fields.wMinute = static_cast<std::uint16_t>(local.tm_min);
    fields.wSecond = static_cast<std::uint16_t>(local.tm_sec);
    FromSystemTime(fields);
}

DateValue DateValue::Now() {
    DateValue now;
    now.FromUnixTime(CurrentUnixSeconds());
    return now;
}

bool DateValue::ToFields(SystemTime& out) const {
    return status == DateStatus::valid && DaysToFields(value, out);
}

std::int32_t DateValue::Year() const {
    SystemTime fields;
    return ToFields(fields) ? fields.wYear : -1;
}

std::int32_t DateValue::Month() const {
    SystemTime fields;
    return ToFields(fields) ? fields.wMonth : -1;
}

std::int32_t DateValue::Day() const {
    SystemTime fields;
    return ToFields(fields) ? fields.wDay : -1;
}

DateValue DateValue::EndOfDay() const {
    DateValue end;
    end.FromFields(Year(), Month(), Day(), 23, 59, 59);
    return end;
}

DateValue& DateValue::operator+=(const DateSpan& d) {
    value = FromLinearDays(LinearDays(value) + d.span);
    return *this;
}

DateValue& DateValue::operator-=(const DateSpan& d) {
    value = FromLinearDays(LinearDays(value) - d.span);
    return *this;
}

DateValue operator+(const DateValue& v, const DateSpan& d) {
    DateValue result{v.value, DateStatus::valid};
    result += d;
    return result;
}

DateValue operator-(const DateValue& v, const DateSpan& d) {
    DateValue result{v.value, DateStatus::valid};
    result -= d;
    return result;
}

DateSpan operator-(const DateValue& a, const DateValue& b) {
    const double span = LinearDays(a.value) - LinearDays(b.value);
    // Written so that a NaN span is invalid too.
    const bool inRange = span >= -kMaxDifferenceDays && span <= kMaxDifferenceDays;
    return {span, inRange ? DateStatus::valid : DateStatus::invalid};
}

double Elapsed(const DateValue& from, const DateValue& to, TimeUnit unit) {
    const DateSpan d = to - from;
    switch (unit) {
    case TimeUnit::hours:
        return d.TotalHours();
    case TimeUnit::minutes:
        return d.TotalMinutes();
    case TimeUnit::seconds:
        return d.TotalSeconds();
    case TimeUnit::days:
    default:
        return d.TotalHours() / 24;
    }
}

double FloorMod(double a, double b) {
    const double q = a / b;
    std::int32_t n = SaturatingTruncate(q);
    // Step down to the floor; at the lower bound the quotient stays saturated.
    if (n > q && n > std::numeric_limits<std::int32_t>::min()) {
        --n;
    }
    return a - b * n;
}

} // namespace norvale
