#pragma once

// Locale-independent texts of a day: the date-format table, the caption that
// says whether a day is today, past or future, and the fixed-point numbers
// every text prints.

#include "core/DateValue.h"

#include <string>
#include <string_view>

namespace norvale {

// The row of the date-format table a new settings file starts with, and the
// one every index outside 0-5 reads: "dd-MMM-yyyy".
inline constexpr int kDefaultDateFormat = 5;

// Picker pattern ("dd-MMM-yyyy") when picker is true, text pattern ("%d-%b-%Y")
// otherwise; indexes outside 0-5 read row kDefaultDateFormat.
std::string DateFormatPattern(int index, bool picker);

// v's calendar day against today's: -1 before, 0 the same day, 1 after. A
// value that cannot be split into a calendar day counts as coming before
// every day (and two of them as the same day).
int CompareCalendarDays(const DateValue& v, const DateValue& today);

// "Today: 06 Dec, Sunday", "History: ..." or "Future: ...": v's calendar day
// against today's.
std::string DayCaption(const DateValue& v, const DateValue& today);
// The same against the clock's today (DateValue::Now()).
std::string DayCaption(const DateValue& v);

// text with every byte that is not printable ASCII shown as '?', so a name
// from outside (a path, an argument) prints as one plain line on a terminal.
std::string PrintableText(std::string_view text);

// Fixed-point text of x with the given decimals: the 17-significant-digit
// expansion rounded half up at the last printed digit, in the POSIX locale.
std::string FixedText(double x, int decimals);

} // namespace norvale
