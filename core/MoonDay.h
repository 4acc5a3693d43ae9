#pragma once

#include "core/DateValue.h"

#include <string>

namespace norvale {

// Whether a shown day is today, before it or after it: what the caption's
// "Today", "History" and "Future" say.
enum class DayWhen { past, today, future };

// Everything shown about the Moon for one day at one instant: the phase day
// that picks the picture, the age and the lit share, and the three text lines
// under the picture. Every view of a day (the panel, the picture's accessible
// text, the printed lines, the command line's text and JSON) shows one value.
struct MoonDay {
    DateValue date{0.0, DateStatus::invalid}; // the shown day and time of day
    int phaseDay = -1;                        // 0-27, or -1 when the day cannot be placed
    double ageDays = 0.0;                     // days since the last new moon
    double illuminationPercent = 0.0;         // lit share of the disk, 0-100
    DayWhen when = DayWhen::today;            // the shown day against today
    std::string caption;                      // "Today: 06 Dec, Sunday"
    std::string ageText;                      // "7.13 day, First Quarter"
    std::string illuminationText;             // "48.3% illuminated"
};

// The Moon of the instant shown, captioned against today's calendar day. A
// pure function: it reads no clock.
MoonDay MakeMoonDay(const DateValue& shown, const DateValue& today);

} // namespace norvale
