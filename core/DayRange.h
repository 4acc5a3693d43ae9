#pragma once

// The days the program shows: the window's date picker offers them, and every
// day the command line is asked for (outside the true sky's answers) keeps to
// them. The range as numbers and as the text the help and the errors quote;
// the compiler holds the two together.

#include <string_view>

namespace norvale {

struct RangeDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

inline constexpr RangeDay kFirstRangeDay{1900, 1, 1};
inline constexpr RangeDay kLastRangeDay{9999, 1, 1};

inline constexpr std::string_view kFirstRangeDayText = "1900-01-01";
inline constexpr std::string_view kLastRangeDayText = "9999-01-01";
// "1900-01-01 to 9999-01-01".
inline constexpr std::string_view kDayRangeText = "1900-01-01 to 9999-01-01";

namespace detail {

// Whether text is day written as YYYY-MM-DD.
constexpr bool SpellsDay(std::string_view text, const RangeDay& day) {
    const auto digits = [text](std::size_t at, std::size_t count, int value) {
        for (std::size_t i = count; i-- > 0; value /= 10) {
            if (text[at + i] != static_cast<char>('0' + value % 10)) {
                return false;
            }
        }
        return value == 0;
    };
    return text.size() == 10 && digits(0, 4, day.year) && text[4] == '-' &&
           digits(5, 2, day.month) && text[7] == '-' && digits(8, 2, day.day);
}

} // namespace detail

static_assert(detail::SpellsDay(kFirstRangeDayText, kFirstRangeDay));
static_assert(detail::SpellsDay(kLastRangeDayText, kLastRangeDay));
static_assert(kDayRangeText.starts_with(kFirstRangeDayText) &&
              kDayRangeText.ends_with(kLastRangeDayText) &&
              kDayRangeText.size() == kFirstRangeDayText.size() + 4 + kLastRangeDayText.size());

} // namespace norvale
