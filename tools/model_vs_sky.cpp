// How often the calendar model's principal phase days fall on the day of the
// true phase: every local day of the span gets its phase day from the core
// (PhaseDay), and each day with phase day 0, 7, 14 or 21 is matched with the
// nearest true phase of the same kind from the sky library. Prints a Markdown
// table. The local zone is the process's (TZ); run it with TZ=UTC for days in
// Universal Time.
//
//   norvale_model_vs_sky [FIRST_YEAR LAST_YEAR]     (default 1900 2100)

#include "core/Moon.h"
#include "sky/Sky.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using norvale::DateStatus;
using norvale::DateValue;
namespace sky = norvale::sky;

struct Tally {
    std::int64_t days = 0;
    std::int64_t same = 0;
    std::int64_t early = 0; // the model's day is the day before the true one
    std::int64_t late = 0;  // the model's day is the day after
    std::int64_t other = 0;
    std::int64_t worst = 0; // the largest difference in days
};

// The local day (days since 1899-12-30) an instant falls on.
std::int64_t LocalDay(std::int64_t utcSeconds) {
    DateValue v;
    v.FromUnixTime(utcSeconds);
    return static_cast<std::int64_t>(std::floor(v.value));
}

int ParseYear(const char* text) {
    char* end = nullptr;
    const long year = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || year < 1801 || year > 2199) {
        std::fprintf(stderr, "norvale_model_vs_sky: a year from 1801 to 2199, not \"%s\"\n", text);
        std::exit(2);
    }
    return static_cast<int>(year);
}

std::string Share(std::int64_t count, std::int64_t total) {
    char text[64];
    std::snprintf(text, sizeof text, "%lld (%.1f %%)", static_cast<long long>(count),
                  total > 0 ? 100.0 * static_cast<double>(count) / static_cast<double>(total)
                            : 0.0);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "usage: norvale_model_vs_sky [FIRST_YEAR LAST_YEAR]\n");
        return 2;
    }
    const int firstYear = argc == 3 ? ParseYear(argv[1]) : 1900;
    const int lastYear = argc == 3 ? ParseYear(argv[2]) : 2100;
    if (firstYear > lastYear) {
        std::fprintf(stderr, "norvale_model_vs_sky: the first year is after the last\n");
        return 2;
    }

    DateValue first;
    first.FromFields(firstYear, 1, 1, 12, 0, 0);
    DateValue last;
    last.FromFields(lastYear, 12, 31, 12, 0, 0);

    // The true phases by kind, as local days, with a margin on both sides.
    std::array<std::vector<std::int64_t>, 4> trueDays;
    constexpr std::int64_t kMargin = 40 * 86400;
    const std::int64_t from =
        static_cast<std::int64_t>(std::llround((first.value - 25569.0) * 86400.0)) - kMargin;
    const std::int64_t to =
        static_cast<std::int64_t>(std::llround((last.value - 25569.0) * 86400.0)) + kMargin;
    sky::SkyTimeline timeline;
    for (const sky::PhaseInstant& p : timeline.PhasesBetween(from, to)) {
        trueDays[static_cast<std::size_t>(p.phase)].push_back(LocalDay(p.utcSeconds));
    }

    std::array<Tally, 4> tallies;
    for (double day = first.value; day <= last.value; day += 1.0) {
        const int phaseDay = norvale::PhaseDay(DateValue{day, DateStatus::valid});
        if (phaseDay < 0 || phaseDay % 7 != 0) {
            continue;
        }
        const auto kind = static_cast<std::size_t>(phaseDay / 7);
        const auto modelDay = static_cast<std::int64_t>(std::floor(day));
        const std::vector<std::int64_t>& days = trueDays[kind];
        // The nearest true day of the same kind.
        const auto above = std::lower_bound(days.begin(), days.end(), modelDay);
        std::int64_t nearest = above != days.end() ? *above : days.back();
        if (above != days.begin() &&
            (above == days.end() || modelDay - *(above - 1) < *above - modelDay)) {
            nearest = *(above - 1);
        }
        const std::int64_t difference = modelDay - nearest;
        Tally& t = tallies[kind];
        ++t.days;
        if (difference == 0) {
            ++t.same;
        } else if (difference == -1) {
            ++t.early;
        } else if (difference == 1) {
            ++t.late;
        } else {
            ++t.other;
        }
        t.worst = std::max(t.worst, difference < 0 ? -difference : difference);
    }

    std::printf("Calendar model against the true sky, %d-01-01 to %d-12-31, local days (TZ=%s)\n\n",
                firstYear, lastYear, std::getenv("TZ") ? std::getenv("TZ") : "unset");
    std::printf("| phase | model days | on the true day | a day early | a day late | other |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    Tally all;
    for (std::size_t kind = 0; kind < 4; ++kind) {
        const Tally& t = tallies[kind];
        std::printf("| %s | %lld | %s | %s | %s | %s |\n",
                    std::string(norvale::PhaseName(static_cast<int>(kind) * 7)).c_str(),
                    static_cast<long long>(t.days), Share(t.same, t.days).c_str(),
                    Share(t.early, t.days).c_str(), Share(t.late, t.days).c_str(),
                    Share(t.other, t.days).c_str());
        all.days += t.days;
        all.same += t.same;
        all.early += t.early;
        all.late += t.late;
        all.other += t.other;
        all.worst = std::max(all.worst, t.worst);
    }
    std::printf("| all | %lld | %s | %s | %s | %s |\n", static_cast<long long>(all.days),
                Share(all.same, all.days).c_str(), Share(all.early, all.days).c_str(),
                Share(all.late, all.days).c_str(), Share(all.other, all.days).c_str());
    std::printf("\nThe largest difference: %lld days.\n", static_cast<long long>(all.worst));
    return 0;
}
