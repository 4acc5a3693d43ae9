// The true sky: the figures for one instant, a century of phases, and ten
// years of days through one timeline, as the command line asks for them.

#include "sky/Sky.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

namespace norvale::sky {
namespace {

std::int64_t Utc(int year, unsigned month, unsigned day, int hour = 0) {
    using namespace std::chrono;
    return sys_seconds{sys_days{std::chrono::year{year} / month / day} + hours{hour}}
        .time_since_epoch()
        .count();
}

// Instants spread over the documented range, so no two calls share a phase.
std::vector<std::int64_t> SpreadInstants() {
    std::mt19937_64 random(1923);
    std::uniform_int_distribution<std::int64_t> pick(kFirstSecond, kLastSecond);
    std::vector<std::int64_t> instants(256);
    for (auto& t : instants) {
        t = pick(random);
    }
    return instants;
}

// Target: at most 0.3 ms, five phase instants (from the table) included.
void BM_SkyAtOneInstant(benchmark::State& state) {
    const std::vector<std::int64_t> instants = SpreadInstants();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SkyAt(instants[i++ % instants.size()]));
    }
}
BENCHMARK(BM_SkyAtOneInstant)->Unit(benchmark::kMillisecond);

// The 4948 phases of 2000-2099, from the table (norvale-cli --phases over a
// century must take no longer than gcal: cli_vs_tools.py).
void BM_PhasesOverACentury(benchmark::State& state) {
    std::size_t phases = 0;
    for (auto _ : state) {
        const auto found = PhasesBetween(Utc(2000, 1, 1), Utc(2100, 1, 1) - 1);
        phases = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["phases"] = static_cast<double>(phases);
    state.counters["per_phase"] = benchmark::Counter(static_cast<double>(phases),
                                                     benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_PhasesOverACentury)->Unit(benchmark::kMillisecond);

// 3660 consecutive days at one time of day, each with its full figures,
// through one timeline as norvale-cli --days 3660 --json uses it (that whole
// run: at most 0.4 s, cli_vs_tools.py).
void BM_TimelineTenYearsOfDays(benchmark::State& state) {
    constexpr int kDays = 3660;
    const std::int64_t first = Utc(2026, 12, 6, 12);
    for (auto _ : state) {
        SkyTimeline timeline(SkyTimeline::Sun::interpolated);
        for (int day = 0; day < kDays; ++day) {
            benchmark::DoNotOptimize(timeline.At(first + std::int64_t{day} * 86400));
        }
    }
    state.counters["per_day"] = benchmark::Counter(
        kDays, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TimelineTenYearsOfDays)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace norvale::sky
