#pragma once

// The principal phase instants of the documented range, computed once with
// every term of libnova's Moon series by tools/phase_table.cpp and kept as
// Terrestrial Time. Internal to norvale_sky.

#include <cstdint>
#include <optional>

namespace norvale::sky::detail {

// Two lunations beyond each end of 1800-01-01 to 2200-12-31 (UTC), so that
// the previous and next phases of every instant inside are in the table.
inline constexpr std::int64_t kFirstTabulatedPhase = -9904;
inline constexpr std::int64_t kLastTabulatedPhase = 9952;

// The 64 characters that write six bits each, in order.
inline constexpr char kPhaseTableAlphabet[] =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-_";

// The Julian ephemeris day (TT) of phase n (numbered as in PhaseSolver.h),
// to a hundredth of a second; nullopt outside the table.
std::optional<double> TabulatedPhaseDay(std::int64_t n);

} // namespace norvale::sky::detail
