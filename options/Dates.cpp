// Calendar days and times of day on the command line: parsing, printing,
// the allowed range and the runs of days.
#include "options/Detail.h"
#include "options/Options.h"

#include <chrono>

namespace norvale::cli {

using detail::FixedDigits;
using detail::NotAfter;
using detail::Padded;
using detail::ToSysDays;

std::optional<CivilDate> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto y = FixedDigits(text.substr(0, 4), 4);
    const auto m = FixedDigits(text.substr(5, 2), 2);
    const auto d = FixedDigits(text.substr(8, 2), 2);
    if (!y || !m || !d) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day ymd{year{*y}, month{static_cast<unsigned>(*m)},
                             day{static_cast<unsigned>(*d)}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return CivilDate{*y, *m, *d};
}

std::optional<TimeOfDay> ParseTime(std::string_view text) {
    if (text.size() != 5 && text.size() != 8) {
        return std::nullopt;
    }
    if (text[2] != ':' || (text.size() == 8 && text[5] != ':')) {
        return std::nullopt;
    }
    const auto h = FixedDigits(text.substr(0, 2), 2);
    const auto m = FixedDigits(text.substr(3, 2), 2);
    const auto s = text.size() == 8 ? FixedDigits(text.substr(6, 2), 2) : std::optional<int>{0};
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) {
        return std::nullopt;
    }
    return TimeOfDay{*h, *m, *s};
}

CivilDate AddDays(const CivilDate& date, int offset) {
    using namespace std::chrono;
    const year_month_day ymd{ToSysDays(date) + days{offset}};
    return CivilDate{static_cast<int>(ymd.year()), static_cast<int>(unsigned{ymd.month()}),
                     static_cast<int>(unsigned{ymd.day()})};
}

DayRun DaysToPrint(const Options& options, const CivilDate& start) {
    if (options.days) {
        const int n = *options.days;
        return DayRun{start, n > 0 ? n : -n, n > 0 ? 1 : -1};
    }
    if (options.to) {
        const auto span = (ToSysDays(*options.to) - ToSysDays(start)).count();
        const auto count = static_cast<int>(span >= 0 ? span + 1 : 1 - span);
        return DayRun{start, count, span >= 0 ? 1 : -1};
    }
    return DayRun{start, 1, 1};
}

bool ListsDays(const Options& options) {
    return options.days.has_value() || options.to.has_value();
}

std::string DateText(const CivilDate& date) {
    return Padded(date.year, 4) + '-' + Padded(date.month, 2) + '-' + Padded(date.day, 2);
}

std::string TimeText(const TimeOfDay& time) {
    return Padded(time.hour, 2) + ':' + Padded(time.minute, 2) + ':' + Padded(time.second, 2);
}

bool InAllowedRange(const CivilDate& date) {
    return NotAfter(FirstAllowedDay, date) && NotAfter(date, LastAllowedDay);
}

bool InParsedRange(const CivilDate& date) {
    return NotAfter(FirstSkyDay, date) && NotAfter(date, LastAllowedDay);
}

} // namespace norvale::cli
