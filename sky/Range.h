#pragma once

// The years the true sky's figures are given for, in one place: every
// message, check and text about the range is made from these.

#include <chrono>
#include <cstdint>

namespace norvale::sky {

inline constexpr int kFirstYear = 1800;
inline constexpr int kLastYear = 2200;

// The instants: 1800-01-01 00:00:00 to 2200-12-31 23:59:59 UTC. Phase
// instants just outside may still be returned as the previous or next phase
// of an instant inside.
inline constexpr std::int64_t kFirstSecond =
    std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{kFirstYear} / 1 / 1}}
        .time_since_epoch()
        .count();
inline constexpr std::int64_t kLastSecond =
    std::chrono::sys_seconds{std::chrono::sys_days{std::chrono::year{kLastYear + 1} / 1 / 1}}
        .time_since_epoch()
        .count() -
    1;

constexpr bool InDocumentedRange(std::int64_t utcSeconds) {
    return utcSeconds >= kFirstSecond && utcSeconds <= kLastSecond;
}

} // namespace norvale::sky
