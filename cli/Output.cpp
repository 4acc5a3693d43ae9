#include "cli/Output.h"

#include "core/DateValue.h"
#include "core/Moon.h"
#include "version/Version.h"

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

DayLine MakeDayLine(const CivilDate& date, const TimeOfDay& time, const DateValue& today) {
    return DayLine{date, time, MakeMoonDay(ToDateValue(date, time), today)};
}

std::string ShowLines(const DayLine& line) {
    const MoonDay& moon = line.moon;
    return moon.caption + '\n' + moon.ageText + '\n' + moon.illuminationText + '\n';
}

std::string TabLine(const DayLine& line) {
    const MoonDay& moon = line.moon;
    return DateText(line.date) + ' ' + TimeText(line.time) + '\t' + std::to_string(moon.phaseDay) +
           '\t' + moon.ageText + '\t' + moon.illuminationText + '\t' + moon.caption + '\n';
}

std::string JsonLine(const DayLine& line, const std::string& sky, const std::string& place) {
    const MoonDay& moon = line.moon;
    const std::string_view name = PhaseName(moon.phaseDay);
    std::string out = "{\"format\":1";
    out += ",\"date\":" + JsonString(DateText(line.date));
    out += ",\"time\":" + JsonString(TimeText(line.time));
    out += ",\"phase_day\":" + std::to_string(moon.phaseDay);
    out += ",\"phase_name\":" + (name.empty() ? std::string("null") : JsonString(name));
    out += ",\"age_days\":" + JsonNumber(moon.ageDays);
    out += ",\"age_text\":" + JsonString(moon.ageText);
    out += ",\"illumination_percent\":" + JsonNumber(moon.illuminationPercent);
    out += ",\"illumination_text\":" + JsonString(moon.illuminationText);
    out += ",\"caption\":" + JsonString(moon.caption);
    out += ",\"when\":";
    out += moon.when == DayWhen::past     ? "\"past\""
           : moon.when == DayWhen::future ? "\"future\""
                                          : "\"today\"";
    if (!sky.empty()) {
        out += ",\"sky\":" + sky;
    }
    if (!place.empty()) {
        out += ",\"place\":" + place;
    }
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
    out += std::string("PRODID:-//Norvale//norvale-cli ") + kVersion + "//EN\r\n";
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
