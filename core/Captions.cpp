#include "core/Texts.h"

#include <array>
#include <string>
#include <tuple>

namespace norvale {

namespace {

struct DateFormatRow {
    const char* picker;
    const char* text;
};

constexpr std::array<DateFormatRow, 6> kDateFormats = {{
    {"dd/MM/yyyy", "%d/%m/%Y"},
    {"dd/MMM/yyyy", "%d/%b/%Y"},
    {"dd.MM.yyyy", "%d.%m.%Y"},
    {"dd.MMM.yyyy", "%d.%b.%Y"},
    {"dd-MM-yyyy", "%d-%m-%Y"},
    {"dd-MMM-yyyy", "%d-%b-%Y"},
}};

// Year, month and day of v, each -1 when v cannot be split.
std::tuple<int, int, int> CalendarDate(const DateValue& v) {
    SystemTime fields;
    if (!v.ToFields(fields)) {
        return {-1, -1, -1};
    }
    return {fields.wYear, fields.wMonth, fields.wDay};
}

} // namespace

std::string DateFormatPattern(int index, bool picker) {
    const bool known = index >= 0 && index < static_cast<int>(kDateFormats.size());
    const DateFormatRow& row =
        kDateFormats[static_cast<std::size_t>(known ? index : kDefaultDateFormat)];
    return picker ? row.picker : row.text;
}

int CompareCalendarDays(const DateValue& v, const DateValue& todayValue) {
    const auto shown = CalendarDate(v);
    const auto today = CalendarDate(todayValue);
    return shown == today ? 0 : shown > today ? 1 : -1;
}

std::string DayCaption(const DateValue& v, const DateValue& todayValue) {
    const int order = CompareCalendarDays(v, todayValue);
    const char* prefix = order == 0 ? "Today: " : order > 0 ? "Future: " : "History: ";
    return prefix + v.Format("%d %b, %A");
}

std::string DayCaption(const DateValue& v) {
    return DayCaption(v, DateValue::Now());
}

} // namespace norvale
