#include "cli/Output.h"

#include "core/DateValue.h"
#include "core/Moon.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>

namespace norvale::cli {
namespace {

DateValue ToDateValue(const CivilDate& date, const TimeOfDay& time) {
    DateValue v;
    v.FromFields(date.year, date.month, date.day, time.hour, time.minute, time.second);
    return v;
}

bool IsPrincipal(int phaseDay) {
    return phaseDay == 0 || phaseDay == 7 || phaseDay == 14 || phaseDay == 21;
}

// "YYYYMMDD", the iCalendar DATE form.
std::string IcsDate(const CivilDate& date) {
    std::string text = DateText(date);
    std::erase(text, '-');
    return text;
}

int DaysInYear(int year) {
    return std::chrono::year{year}.is_leap() ? 366 : 365;
}

void AppendEvent(std::string& out, const CivilDate& day, std::string_view summary) {
    const std::string start = IcsDate(day);
    const std::string end = IcsDate(AddDays(day, 1));
    // The UID and the time stamp come from the date alone, so every run
    // writes the same bytes and calendar applications see unchanged events.
    out += "BEGIN:VEVENT\r\n";
    out += "UID:moon-phase-" + start + "@norvale.example\r\n";
    out += "DTSTAMP:" + start + "T000000Z\r\n";
    out += "DTSTART;VALUE=DATE:" + start + "\r\n";
    out += "DTEND;VALUE=DATE:" + end + "\r\n";
    out += "SUMMARY:" + std::string(summary) + "\r\n";
    out += "TRANSP:TRANSPARENT\r\n";
    out += "END:VEVENT\r\n";
}

} // namespace

DayReport MakeDayReport(const CivilDate& date, const TimeOfDay& time) {
    const DateValue v = ToDateValue(date, time);
    DayReport report;
    report.date = date;
    report.time = time;
    report.phaseDay = PhaseDay(v);
    report.ageDays = MoonAge(v);
    report.illuminationPercent = IlluminationPercent(report.ageDays);
    report.ageText = AgeText(v);
    report.illuminationText = IlluminationText(v);
    report.caption = DayCaption(v);
    return report;
}

std::string ShowLines(const DayReport& report) {
    return report.caption + '\n' + report.ageText + '\n' + report.illuminationText + '\n';
}

std::string TabLine(const DayReport& report) {
    return DateText(report.date) + ' ' + TimeText(report.time) + '\t' +
           std::to_string(report.phaseDay) + '\t' + report.ageText + '\t' +
           report.illuminationText + '\t' + report.caption + '\n';
}

std::string JsonLine(const DayReport& report) {
    const std::string_view name = PhaseName(report.phaseDay);
    std::string out = "{";
    out += "\"date\":" + JsonString(DateText(report.date));
    out += ",\"time\":" + JsonString(TimeText(report.time));
    out += ",\"phase_day\":" + std::to_string(report.phaseDay);
    out += ",\"phase_name\":" + (name.empty() ? std::string("null") : JsonString(name));
    out += ",\"age_days\":" + JsonNumber(report.ageDays);
    out += ",\"age_text\":" + JsonString(report.ageText);
    out += ",\"illumination_percent\":" + JsonNumber(report.illuminationPercent);
    out += ",\"illumination_text\":" + JsonString(report.illuminationText);
    out += ",\"caption\":" + JsonString(report.caption);
    out += "}\n";
    return out;
}

std::string JsonString(std::string_view text) {
    constexpr std::string_view Hex = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (u < 0x20) {
                out += "\\u00";
                out += Hex[u >> 4];
                out += Hex[u & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc{}) {
        return "null";
    }
    return std::string(buffer.data(), end);
}

std::string IcsCalendar(int year) {
    std::string out;
    out += "BEGIN:VCALENDAR\r\n";
    out += "VERSION:2.0\r\n";
    out += "PRODID:-//Norvale//norvale-cli " NORVALE_VERSION "//EN\r\n";
    out += "CALSCALE:GREGORIAN\r\n";
    out += "METHOD:PUBLISH\r\n";
    out += "X-WR-CALNAME:Moon phases " + std::to_string(year) + "\r\n";
    const CivilDate first{year, 1, 1};
    const int count = DaysInYear(year);
    for (int i = 0; i < count; ++i) {
        const CivilDate day = AddDays(first, i);
        // The phase day belongs to the calendar day; the time of day is irrelevant.
        const int phaseDay = PhaseDay(ToDateValue(day, TimeOfDay{12, 0, 0}));
        if (IsPrincipal(phaseDay)) {
            AppendEvent(out, day, PhaseName(phaseDay));
        }
    }
    out += "END:VCALENDAR\r\n";
    return out;
}

} // namespace norvale::cli
