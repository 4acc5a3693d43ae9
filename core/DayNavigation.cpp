#include "core/DayNavigation.h"

namespace norvale {

PickerChange CorrectDayWrap(const DateValue& selected, const DateValue& picked, bool wrapArmed) {
    const int dS = selected.Day();
    const int dP = picked.Day();
    if (wrapArmed && dS > dP && dS - dP > 1) {
        DateValue next = selected + OneDay;
        next.status = DateStatus::valid;
        return {next, true};
    }
    if (wrapArmed && dS < dP && dP - dS > 1) {
        DateValue previous = selected - OneDay;
        previous.status = DateStatus::valid;
        return {previous, true};
    }
    return {picked, false};
}

} // namespace norvale
