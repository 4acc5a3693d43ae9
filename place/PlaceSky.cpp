#include "place/PlaceSky.h"

#include "core/Clock.h"
#include "core/Texts.h"
#include "place/Place.h"
#include "sky/LocalTime.h"

#include <chrono>
#include <iostream>
#include <map>

namespace norvale {

namespace {

std::string Times(const sky::MoonEvents& events, sky::MoonEventKind kind, bool withAltitude) {
    std::string text;
    for (const sky::MoonEvent& e : events.events) {
        if (e.kind != kind) {
            continue;
        }
        text += (text.empty() ? "" : " and ") + skytext::LocalClockText(e.utcSeconds);
        if (withAltitude) {
            text += " at " + FixedText(e.altitudeDeg, 1) + " degrees";
        }
    }
    return text;
}

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

std::vector<skytext::SkyLine> DayEventLines(const sky::MoonEvents& events) {
    std::vector<skytext::SkyLine> lines;
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

std::vector<skytext::SkyLine> InstantLines(const sky::MoonInSky& moon) {
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
    for (const skytext::SkyLine& line : DayEventLines(*events)) {
        text += '\n' + line.label + ": " + line.value;
    }
    return text;
}

} // namespace norvale
