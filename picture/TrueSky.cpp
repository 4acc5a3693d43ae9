#include "picture/TrueSky.h"

#include "core/Clock.h"
#include "core/Texts.h"
#include "place/PlaceSky.h"
#include "sky/LocalTime.h"
#include "sky/Sky.h"

#include <ctime>
#include <iostream>
#include <map>
#include <optional>

namespace norvale {

namespace {

std::string Two(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// "2026-12-07 12:00"
std::string DateAndTime(int year, int month, int day, int hour, int minute) {
    std::string y = std::to_string(year);
    y.insert(0, y.size() < 4 ? 4 - y.size() : 0, '0');
    return y + '-' + Two(month) + '-' + Two(day) + ' ' + Two(hour) + ':' + Two(minute);
}

// An instant in local time with the zone's abbreviation ("2026-12-09 01:51
// CET"); in UTC when the local time cannot be had.
std::string LocalText(std::int64_t seconds) {
    std::tm t{};
    std::string zone;
    if (BreakDownLocalTime(seconds, t)) {
        if (t.tm_zone != nullptr) {
            zone = ' ' + PrintableText(t.tm_zone);
        }
    } else {
        const auto instant = static_cast<std::time_t>(seconds);
        if (::gmtime_r(&instant, &t) == nullptr) {
            return "?";
        }
        zone = " UTC";
    }
    return DateAndTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min) + zone;
}

// The stored place, else the time zone's city; the zone tables are read once
// for each zone name.
std::optional<Place> WindowPlace() {
    static bool warned = false;
    auto stored = LoadStoredPlace();
    if (auto* place = std::get_if<Place>(&stored)) {
        return *place;
    }
    if (auto* error = std::get_if<PlaceError>(&stored); error != nullptr && !warned) {
        std::cerr << "norvale: " << error->message << '\n';
        warned = true;
    }
    static std::map<std::string, std::optional<Place>> byZone;
    const std::optional<std::string> zone = SystemZoneName();
    if (!zone) {
        return std::nullopt;
    }
    const auto found = byZone.find(*zone);
    if (found != byZone.end()) {
        return found->second;
    }
    const auto place = PlaceOfTimeZone(ZoneTable::Load(ZoneTable::SystemFolder()), zone);
    byZone.emplace(*zone, place);
    return place;
}

} // namespace

std::string PlaceSkyText(const DateValue& shown) {
    SystemTime f;
    if (shown.status != DateStatus::valid || !shown.ToFields(f)) {
        return {};
    }
    const std::optional<Place> place = WindowPlace();
    if (!place) {
        return "\nNo place for moonrise: norvale-cli --set-place PLACE stores one";
    }
    PlaceSky sky(*place);
    const auto events = sky.DayEvents(f.wYear, f.wMonth, f.wDay);
    if (!events) {
        return {};
    }
    std::string text = '\n' + PlaceTitle(*place);
    for (const auto& [label, value] : DayEventLines(*events)) {
        text += '\n' + label + ": " + value;
    }
    return text;
}

std::string TrueSkyText(const DateValue& shown) {
    SystemTime f;
    if (shown.status != DateStatus::valid || !shown.ToFields(f)) {
        return "No true sky for a day that cannot be placed.";
    }
    const std::optional<std::int64_t> instant =
        sky::LocalToUtcSeconds(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond);
    const std::optional<sky::SkyFigures> figures =
        instant && sky::InDocumentedRange(*instant) ? sky::SkyAt(*instant) : std::nullopt;
    if (!figures) {
        return "True sky at " + DateAndTime(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute) +
               "\nFigures are given only for the years 1800 to 2200.";
    }
    return "True sky at " + LocalText(*instant) +
           "\nIlluminated: " + FixedText(figures->illuminationPercent, 1) +
           "%\nAge: " + FixedText(figures->ageDays, 2) +
           " days\nNext new moon: " + LocalText(figures->nextNewMoon) +
           "\nNext full moon: " + LocalText(figures->nextFullMoon);
}

} // namespace norvale
