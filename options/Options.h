#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace norvale::cli {

// A proleptic Gregorian calendar day.
struct CivilDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// The days every request must stay within (the date picker's range).
inline constexpr CivilDate FirstAllowedDay{1900, 1, 1};
inline constexpr CivilDate LastAllowedDay{9999, 1, 1};
inline constexpr int MaxDays = 36600;
// Calendar years --ics accepts: every event and its end date stay in range.
inline constexpr int FirstIcsYear = 1900;
inline constexpr int LastIcsYear = 9998;

enum class Action { show, help, version, png, ics };

// What the command line asked for, already validated.
struct Options {
    Action action = Action::show;
    std::optional<CivilDate> date; // absent: today
    std::optional<TimeOfDay> time; // absent: the current time of day
    std::optional<int> days;       // --days N; absent: the three-line output
    bool json = false;
    std::string pngPath;
    bool southern = false;
    std::optional<std::uint32_t> seed; // absent: the current second
    int icsYear = 0;

    friend bool operator==(const Options&, const Options&) = default;
};

// One line for stderr naming the option and the accepted form.
struct UsageError {
    std::string message;
};

using ParseResult = std::variant<Options, UsageError>;

// Parses the arguments after the program name. Options take their value as
// the next argument or after '=' (--date=2002-01-20).
ParseResult ParseOptions(std::span<const std::string_view> args);

// Strict field parsers: exactly YYYY-MM-DD (a real calendar day) and HH:MM or
// HH:MM:SS, digits only, no signs, spaces or trailing characters.
std::optional<CivilDate> ParseDate(std::string_view text);
std::optional<TimeOfDay> ParseTime(std::string_view text);

// The day `offset` days after date (offset may be negative).
CivilDate AddDays(const CivilDate& date, int offset);
bool InAllowedRange(const CivilDate& date);
// The error for --days N from start when its last day lies past 9999-01-01.
std::optional<UsageError> CheckDaysRange(const CivilDate& start, int days);

// "YYYY-MM-DD" and "HH:MM:SS".
std::string DateText(const CivilDate& date);
std::string TimeText(const TimeOfDay& time);

// The text of --help.
std::string HelpText();

} // namespace norvale::cli
