#pragma once

#include "cli/Options.h"

#include <string>
#include <string_view>

namespace norvale::cli {

// Everything printed about one day at one time of day.
struct DayReport {
    CivilDate date;
    TimeOfDay time;
    int phaseDay = -1;
    double ageDays = 0.0;
    double illuminationPercent = 0.0;
    std::string ageText;
    std::string illuminationText;
    std::string caption;
};

DayReport MakeDayReport(const CivilDate& date, const TimeOfDay& time);

// The three lines the picture shows: caption, age, illumination.
std::string ShowLines(const DayReport& report);
// "YYYY-MM-DD HH:MM:SS<TAB>phase day<TAB>age<TAB>illumination<TAB>caption\n".
std::string TabLine(const DayReport& report);
// One JSON object and a newline.
std::string JsonLine(const DayReport& report);

// A JSON string literal with quotes, backslashes and control characters escaped.
std::string JsonString(std::string_view text);
// The shortest text that reads back as exactly this double; "null" when not finite.
std::string JsonNumber(double value);

// An iCalendar file (CRLF line ends) with one all-day event for every day of
// the year whose phase day is 0, 7, 14 or 21.
std::string IcsCalendar(int year);

} // namespace norvale::cli
