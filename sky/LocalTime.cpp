#include "sky/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <initializer_list>

namespace norvale::sky {

namespace {

constexpr std::int64_t kTwoDays = 2 * 86400;

// The zone's offset from UTC (seconds east) at an instant.
std::optional<std::int64_t> OffsetAt(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm fields{};
    if (localtime_r(&t, &fields) == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(fields.tm_gmtoff);
}

} // namespace

std::optional<std::int64_t> LocalToUtcSeconds(int year, int month, int day, int hour, int minute,
                                              int second) {
    using namespace std::chrono;
    if (year < -32767 || year > 32767 || month < 1 || month > 12 || day < 1 || day > 31 ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                              std::chrono::day{unsigned(day)}};
    if (!date.ok()) {
        return std::nullopt;
    }
    // The wall-clock reading as if the zone were UTC.
    const std::int64_t wall = sys_days{date}.time_since_epoch().count() * std::int64_t{86400} +
                              hour * 3600 + minute * 60 + second;

    // The offsets two days either side cover any change of the clocks near
    // this reading (a skipped day included). The reading is at instant
    // wall - offset for whichever offset is in force then.
    const auto before = OffsetAt(wall - kTwoDays);
    const auto after = OffsetAt(wall + kTwoDays);
    if (!before || !after) {
        return std::nullopt;
    }
    const std::int64_t early = wall - std::max(*before, *after);
    const std::int64_t late = wall - std::min(*before, *after);
    for (const std::int64_t candidate : {early, late}) {
        const auto offset = OffsetAt(candidate);
        if (!offset) {
            return std::nullopt;
        }
        if (candidate + *offset == wall) {
            return candidate; // the first occurrence when there are two
        }
    }
    // In a gap: read the time with the offset in force before the clocks
    // changed, which lands as far past the gap as the reading was into it.
    return wall - *before;
}

} // namespace norvale::sky
