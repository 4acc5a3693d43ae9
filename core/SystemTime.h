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

// The fields of a date and time given as whole numbers, each kept as 16 bits
// as the record holds them (-1 becomes 65535); the day of the week stays 0.
constexpr SystemTime MakeSystemTime(int year, int month, int day, int hour, int minute,
                                    int second) {
    SystemTime fields;
    fields.wYear = static_cast<std::uint16_t>(year);
    fields.wMonth = static_cast<std::uint16_t>(month);
    fields.wDay = static_cast<std::uint16_t>(day);
    fields.wHour = static_cast<std::uint16_t>(hour);
    fields.wMinute = static_cast<std::uint16_t>(minute);
    fields.wSecond = static_cast<std::uint16_t>(second);
    return fields;
}

} // namespace norvale
