#pragma once

#include <cstdint>

namespace norvale {

// Calendar fields of one instant, as exchanged with the date picker: eight
// unsigned 16-bit fields. Month 1-12, day of week 0-6 (0 = Sunday), day 1-31.
struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;
    std::uint16_t wDayOfWeek = 0;
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;

    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

} // namespace norvale
