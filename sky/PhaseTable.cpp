#include "sky/PhaseTable.h"

#include "sky/PhaseSolver.h"
#include "sky/Positions.h"

#include <array>
#include <cstddef>

namespace norvale::sky::detail {

namespace {

constexpr char kTable[] =
#include "sky/PhaseTable.inc"
    ;

constexpr std::size_t kCharsPerPhase = 4;
static_assert(sizeof(kTable) - 1 ==
                  kCharsPerPhase * (kLastTabulatedPhase - kFirstTabulatedPhase + 1),
              "sky/PhaseTable.inc does not hold one entry per phase: run tools/phase_table.cpp");

// Each character's six bits, by its code.
constexpr auto kSixBits = [] {
    std::array<std::uint8_t, 128> bits{};
    for (std::uint8_t i = 0; i < 64; ++i) {
        bits[static_cast<unsigned char>(kPhaseTableAlphabet[i])] = i;
    }
    return bits;
}();

} // namespace

std::optional<double> TabulatedPhaseDay(std::int64_t n) {
    if (n < kFirstTabulatedPhase || n > kLastTabulatedPhase) {
        return std::nullopt;
    }
    const char* entry =
        kTable + kCharsPerPhase * static_cast<std::size_t>(n - kFirstTabulatedPhase);
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < kCharsPerPhase; ++i) {
        bits = (bits << 6) | kSixBits[static_cast<unsigned char>(entry[i]) & 127u];
    }
    // 24 bits, two's complement.
    const auto hundredths = static_cast<std::int32_t>(bits << 8) >> 8;
    return MeanPhaseDay(n) + hundredths / (100.0 * kSecondsPerDay);
}

} // namespace norvale::sky::detail
