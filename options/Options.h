#pragma once

#include "core/DayRange.h"
#include "sky/Range.h"

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
inline constexpr CivilDate FirstAllowedDay{kFirstRangeDay.year, kFirstRangeDay.month,
                                           kFirstRangeDay.day};
inline constexpr CivilDate LastAllowedDay{kLastRangeDay.year, kLastRangeDay.month,
                                          kLastRangeDay.day};
inline constexpr int MaxDays = 36600;
// Calendar years --ics accepts: every event and its end date stay in range
// (from the range's first year with --calendar-days; the true sky's years
// are narrower and are checked when the calendar is made).
inline constexpr int FirstIcsYear = sky::kFirstYear;
inline constexpr int FirstCalendarDaysYear = kFirstRangeDay.year;
inline constexpr int LastIcsYear = kLastRangeDay.year - 1;

enum class Action { show, help, version, png, ics, sky, phases, rise, setPlace };

// What the command line asked for, already validated.
struct Options {
    Action action = Action::show;
    std::optional<CivilDate> date; // --date or the date given alone; absent: today
    std::optional<TimeOfDay> time; // absent: the current time of day
    // --days N: N days from the start date on; -N: the N days that end with
    // it, newest first. Never 0.
    std::optional<int> days;
    std::optional<CivilDate> to; // --to DATE: from the start date to DATE, both included
    bool json = false;
    std::string pngPath; // "-": standard output
    int scale = 1;       // --scale: 1 or 2 device pixels per panel pixel
    bool southern = false;
    std::optional<std::uint32_t> seed; // absent: the current second
    int icsYear = 0;
    bool calendarDays = false; // --ics with the model's phase days, not the true instants
    // --png with --true: the Moon as it is at the instant, not the panel.
    bool truePicture = false;
    int width = 0; // --size WxH; 0: the panel's own size
    int height = 0;
    std::optional<double> moonSize; // --moon-size: the disk's diameter against the shorter side
    bool caption = false;           // --caption: the three lines on a --size picture
    bool zenithUp = false;          // --zenith-up: the observer's zenith up, not north
    // --place PLACE (for --rise, --sky and --json) and --set-place PLACE, as
    // given: the place is looked up when the command runs (options/PlaceOptions.cpp).
    std::optional<std::string> place;
    std::optional<std::string> setPlace;

    friend bool operator==(const Options&, const Options&) = default;
};

// The days a run prints: count days from first, one step (+1 or -1) apart.
struct DayRun {
    CivilDate first;
    int count = 1;
    int step = 1;
};
// The days of --days or --to from start (a single day without either).
DayRun DaysToPrint(const Options& options, const CivilDate& start);
// The lines are tab lines (or JSON) rather than the three-line answer.
bool ListsDays(const Options& options);

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
// The days --sky and --phases take: from the true sky's first day
// (1800-01-01) to LastAllowedDay. --phases prints what of its days lies in
// the true sky's years; every other answer needs InAllowedRange.
inline constexpr CivilDate FirstSkyDay{sky::kFirstYear, 1, 1};
bool InParsedRange(const CivilDate& date);
// The error for --days N from start when a day lies outside the allowed range.
std::optional<UsageError> CheckDaysRange(const CivilDate& start, int days);

// A user's text for an error line: at most 40 characters, quoted, and every
// byte that is not printable ASCII shown as '?'.
std::string Quoted(std::string_view text);

// "YYYY-MM-DD" and "HH:MM:SS".
std::string DateText(const CivilDate& date);
std::string TimeText(const TimeOfDay& time);

// The text of --help.
std::string HelpText();

} // namespace norvale::cli
