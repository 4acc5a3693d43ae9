#include "place/PlaceSky.h"

#include "core/Clock.h"
#include "core/Texts.h"
#include "sky/LocalTime.h"

#include <chrono>
#include <ctime>

namespace norvale {

namespace {

std::string Two(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string Times(const sky::MoonEvents& events, sky::MoonEventKind kind, bool withAltitude) {
    std::string text;
    for (const sky::MoonEvent& e : events.events) {
        if (e.kind != kind) {
            continue;
        }
        text += (text.empty() ? "" : " and ") + LocalClockText(e.utcSeconds);
        if (withAltitude) {
            text += " at " + FixedText(e.altitudeDeg, 1) + " degrees";
        }
    }
    return text;
}

} // namespace

PlaceSky::PlaceSky(const Place& place) : m_place(place), m_track(GetObserver()) {}

sky::Observer PlaceSky::GetObserver() const {
    return sky::Observer{m_place.latitudeDeg, m_place.longitudeDeg};
}

std::optional<sky::MoonEvents> PlaceSky::DayEvents(int year, int month, int day) {
    const auto from = sky::LocalToUtcSeconds(year, month, day, 0, 0, 0);
    using namespace std::chrono;
    const year_month_day next{sys_days{std::chrono::year{year} / month / day} + days{1}};
    const auto to = sky::LocalToUtcSeconds(static_cast<int>(next.year()),
                                           static_cast<int>(unsigned(next.month())),
                                           static_cast<int>(unsigned(next.day())), 0, 0, 0);
    if (!from || !to) {
        return std::nullopt;
    }
    return m_track.EventsBetween(*from, *to);
}

std::optional<sky::MoonInSky> PlaceSky::At(std::int64_t utcSeconds) const {
    return sky::MoonInSkyAt(GetObserver(), utcSeconds);
}

std::string LocalClockText(std::int64_t utcSeconds) {
    const std::int64_t minute = (utcSeconds + 30) / 60 * 60 - ((utcSeconds + 30) % 60 < 0 ? 60 : 0);
    std::tm t{};
    if (!BreakDownLocalTime(minute, t)) {
        const auto instant = static_cast<std::time_t>(minute);
        ::gmtime_r(&instant, &t);
        return Two(t.tm_hour) + ':' + Two(t.tm_min) + " UTC";
    }
    std::string text = Two(t.tm_hour) + ':' + Two(t.tm_min);
    if (t.tm_zone != nullptr) {
        text += ' ' + PrintableText(t.tm_zone);
    }
    return text;
}

std::vector<std::pair<std::string, std::string>> DayEventLines(const sky::MoonEvents& events) {
    std::vector<std::pair<std::string, std::string>> lines;
    const std::string rise = Times(events, sky::MoonEventKind::rise, false);
    const std::string set = Times(events, sky::MoonEventKind::set, false);
    const std::string transit = Times(events, sky::MoonEventKind::transit, true);
    if (events.always != sky::MoonAlways::no) {
        lines.emplace_back("Moonrise", events.always == sky::MoonAlways::up ? "none, up all day"
                                                                            : "none, down all day");
    } else {
        lines.emplace_back("Moonrise", rise.empty() ? "none this day" : rise);
    }
    lines.emplace_back("Transit", transit.empty() ? "none this day" : transit);
    if (events.always != sky::MoonAlways::no) {
        lines.emplace_back("Moonset", "none");
    } else {
        lines.emplace_back("Moonset", set.empty() ? "none this day" : set);
    }
    return lines;
}

std::vector<std::pair<std::string, std::string>> InstantLines(const sky::MoonInSky& moon) {
    return {{"Altitude",
             FixedText(moon.altitudeDeg, 1) + " degrees, azimuth " + FixedText(moon.azimuthDeg, 1)},
            {"Bright limb", FixedText(moon.brightLimbDeg, 1) + " degrees from north, " +
                                FixedText(moon.zenithAngleDeg, 1) + " from the zenith"}};
}

std::string RiseLine(const std::string& dateText, const sky::MoonEvents& events) {
    std::string line = dateText;
    const auto field = [&line](const std::string& name, const std::string& value) {
        line += '\t' + name + ' ' + (value.empty() ? "none" : value);
    };
    if (events.always != sky::MoonAlways::no) {
        line += events.always == sky::MoonAlways::up ? "\tup all day" : "\tdown all day";
        field("transit", Times(events, sky::MoonEventKind::transit, true));
        return line + '\n';
    }
    field("rise", Times(events, sky::MoonEventKind::rise, false));
    field("transit", Times(events, sky::MoonEventKind::transit, true));
    field("set", Times(events, sky::MoonEventKind::set, false));
    return line + '\n';
}

std::string PlaceLineText(const Place& place) {
    return PlaceTitle(place) + ", " + CoordinatesText(place.latitudeDeg, place.longitudeDeg);
}

} // namespace norvale
