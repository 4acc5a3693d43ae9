#pragma once

// Date navigation rules of the main window that need no window: how a change
// of the date picker becomes the shown day. Plain C++, no Qt.

#include "core/DateValue.h"

namespace norvale {

// What the window does after the picker changed: publish day, and write it
// back into the picker first when rewritePicker is set.
struct PickerChange {
    DateValue day;
    bool rewritePicker = false;
};

// The picker wraps its day field within the month (31 January, day up, gives
// 1 January). While the rule is armed (wrapArmed: "Prev" or "Next" was used
// last, not a key in the picker), a jump of the day of the month by two or
// more from the previous selection is read as a one-day step from it instead:
// forwards when the day fell, backwards when it rose. Any other change is
// published as the picker shows it.
PickerChange CorrectDayWrap(const DateValue& selected, const DateValue& picked, bool wrapArmed);

} // namespace norvale
