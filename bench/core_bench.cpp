// Phase day, Moon age and the phase texts over the days the date picker offers.

#include "core/Moon.h"
#include "core/Texts.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace norvale {
namespace {

DateValue MakeDate(int year, int month, int day) {
    DateValue v;
    v.FromFields(year, month, day, 12, 0, 0);
    return v;
}

// Every day from 1900-01-01 to 9998-12-31, at noon.
const double kFirstDay = MakeDate(1900, 1, 1).value;
const double kLastDay = MakeDate(9998, 12, 31).value;
const auto kDays = static_cast<std::int64_t>(kLastDay - kFirstDay) + 1;

// Runs `work` on every day of the range once per iteration and reports the
// time per day.
template <typename Work> void EveryDay(benchmark::State& state, Work work) {
    for (auto _ : state) {
        for (double day = kFirstDay; day <= kLastDay; day += 1.0) {
            benchmark::DoNotOptimize(work(DateValue{day, DateStatus::valid}));
        }
    }
    // Inverted rate: CPU seconds per day, shown with an SI prefix ("39.7ns").
    state.counters["per_day"] = benchmark::Counter(static_cast<double>(kDays),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void BM_PhaseDayWholeRange(benchmark::State& state) {
    EveryDay(state, [](const DateValue& v) { return PhaseDay(v); });
}
BENCHMARK(BM_PhaseDayWholeRange)->Unit(benchmark::kMillisecond);

void BM_MoonAgeWholeRange(benchmark::State& state) {
    EveryDay(state, [](const DateValue& v) { return MoonAge(v); });
}
BENCHMARK(BM_MoonAgeWholeRange)->Unit(benchmark::kMillisecond);

// The texts allocate, so they run over one year of days rather than all of them.
template <typename Work> void OneYear(benchmark::State& state, Work work) {
    const double first = MakeDate(2026, 1, 1).value;
    for (auto _ : state) {
        for (int day = 0; day < 365; ++day) {
            benchmark::DoNotOptimize(work(DateValue{first + day, DateStatus::valid}));
        }
    }
    state.SetItemsProcessed(state.iterations() * 365);
}

void BM_AgeText(benchmark::State& state) {
    OneYear(state, [](const DateValue& v) { return AgeText(v); });
}
BENCHMARK(BM_AgeText);

void BM_IlluminationText(benchmark::State& state) {
    OneYear(state, [](const DateValue& v) { return IlluminationText(v); });
}
BENCHMARK(BM_IlluminationText);

void BM_DayCaption(benchmark::State& state) {
    OneYear(state, [](const DateValue& v) { return DayCaption(v); });
}
BENCHMARK(BM_DayCaption);

} // namespace
} // namespace norvale
