#include "sky/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <initializer_list>
#include <vector>

namespace norvale::sky {

namespace {

constexpr std::int64_t kTwoDays = 2 * 86400;
constexpr std::int64_t kHalfDay = 43200;
// More offsets than any zone has within four days.
constexpr std::size_t kMostOffsets = 8;

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

    // Every offset in force near the reading: the reading is at instant
    // wall - offset for one of them, if at all. Probes two days and twelve
    // hours either side see the offsets of any change of the clocks near the
    // reading (real zones change at most once in four days; a hand-written TZ
    // rule may change twice within a day); each offset found then leads to
    // the one in force at its own candidate instant, until no new one comes.
    std::vector<std::int64_t> offsets;
    const auto note = [&offsets](std::int64_t at) {
        const auto offset = OffsetAt(at);
        if (!offset) {
            return false;
        }
        if (std::find(offsets.begin(), offsets.end(), *offset) == offsets.end()) {
            offsets.push_back(*offset);
        }
        return true;
    };
    for (const std::int64_t probe : {-kTwoDays, kTwoDays, -kHalfDay, kHalfDay}) {
        if (!note(wall + probe)) {
            return std::nullopt;
        }
    }
    for (std::size_t i = 0; i < offsets.size() && i < kMostOffsets; ++i) {
        if (!note(wall - offsets[i])) {
            return std::nullopt;
        }
    }
    std::optional<std::int64_t> first;
    for (const std::int64_t offset : offsets) {
        const std::int64_t candidate = wall - offset;
        if (OffsetAt(candidate) == offset && (!first || candidate < *first)) {
            first = candidate; // the first occurrence when there are two
        }
    }
    if (first) {
        return first;
    }
    // In a gap: read the time with the offset in force before the clocks
    // changed, which lands as far past the gap as the reading was into it.
    // Just before the gap the largest offset's candidate is still early.
    const std::int64_t largest = *std::max_element(offsets.begin(), offsets.end());
    return wall - OffsetAt(wall - largest).value_or(largest);
}

} // namespace norvale::sky
