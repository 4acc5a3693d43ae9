#pragma once

#include "core/DateValue.h"
#include "core/MoonDay.h"
#include "options/Options.h"

#include <string>
#include <string_view>

namespace norvale::cli {

// Everything printed about one day at one time of day: the day and time asked
// for, and the Moon the window would show for them.
struct DayLine {
    CivilDate date;
    TimeOfDay time;
    MoonDay moon;
};

// The line of a day and time, captioned against today's calendar day.
DayLine MakeDayLine(const CivilDate& date, const TimeOfDay& time, const DateValue& today);

// The three lines the picture shows: caption, age, illumination.
std::string ShowLines(const DayLine& line);
// "YYYY-MM-DD HH:MM:SS<TAB>phase day<TAB>age<TAB>illumination<TAB>caption\n".
std::string TabLine(const DayLine& line);
// One JSON object and a newline; with sky, its "sky" member (the JSON text of
// an object, or null) is added, and after it the "place" member when place is
// not empty.
std::string JsonLine(const DayLine& line, const std::string& sky = {},
                     const std::string& place = {});

// A JSON string literal with quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view text);
// The shortest text that reads back as exactly this double; "null" when not finite.
std::string JsonNumber(double value);

// An iCalendar file (CRLF line ends) with one all-day event for every day of
// the year whose phase day is 0, 7, 14 or 21.
std::string IcsCalendar(int year);

} // namespace norvale::cli
