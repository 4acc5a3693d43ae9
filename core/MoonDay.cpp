#include "core/MoonDay.h"

#include "core/Moon.h"
#include "core/Texts.h"

namespace norvale {

MoonDay MakeMoonDay(const DateValue& shown, const DateValue& today) {
    MoonDay day;
    day.date = shown;
    day.phaseDay = PhaseDay(shown);
    day.ageDays = MoonAge(shown);
    day.illuminationPercent = IlluminationPercent(day.ageDays);
    const int order = CompareCalendarDays(shown, today);
    day.when = order < 0 ? DayWhen::past : order > 0 ? DayWhen::future : DayWhen::today;
    day.caption = DayCaption(shown, today);
    day.ageText = AgeText(day.ageDays, day.phaseDay);
    day.illuminationText = IlluminationText(day.illuminationPercent);
    return day;
}

} // namespace norvale
