#include "cli/PlaceAnswers.h"

#include "cli/Output.h"
#include "sky/LocalTime.h"

#include <ostream>
#include <utility>
#include <vector>

namespace norvale::cli {

namespace {

const char* SourceKey(PlaceSource source) {
    return source == PlaceSource::stored ? "stored" : "given";
}

std::string UtcJson(const sky::MoonEvent* event) {
    return event == nullptr ? "null" : '"' + skytext::IsoUtcText(event->utcSeconds) + '"';
}

// The place's events of the local day and the Moon at its local time.
struct DayFigures {
    std::optional<sky::MoonEvents> events;
    std::optional<sky::MoonInSky> moon;
};

DayFigures FiguresOf(PlaceSky& sky, const CivilDate& date, const TimeOfDay& time) {
    const auto instant = sky::LocalToUtcSeconds(date.year, date.month, date.day, time.hour,
                                                time.minute, time.second);
    return {sky.DayEvents(date.year, date.month, date.day),
            instant ? sky.At(*instant) : std::nullopt};
}

} // namespace

PlaceSky& PlaceAnswers::SkyOf(const Place& place) {
    if (!m_sky || !(m_sky->GetPlace() == place)) {
        m_sky.emplace(place);
    }
    return *m_sky;
}

bool PlaceAnswers::PrintRise(const Place& place, const DayRun& run, std::ostream& out) {
    PlaceSky& sky = SkyOf(place);
    // Every day is checked before the first line is printed.
    std::vector<std::string> lines;
    for (int i = 0; i < run.count; ++i) {
        const CivilDate day = AddDays(run.first, i * run.step);
        const auto events = sky.DayEvents(day.year, day.month, day.day);
        if (!events) {
            return false;
        }
        lines.push_back(RiseLine(DateText(day), *events));
    }
    out << "Moon at " << PlaceLineText(place) << '\n';
    for (const std::string& line : lines) {
        out << line;
    }
    return true;
}

void PlaceAnswers::AddFigures(const Place& place, const CivilDate& date, const TimeOfDay& time,
                              skytext::SkyReport& report) {
    const DayFigures figures = FiguresOf(SkyOf(place), date, time);
    const auto& events = figures.events;
    const auto& moon = figures.moon;
    report.lines.push_back({"Place", PlaceLineText(place)});
    if (events) {
        for (skytext::SkyLine& line : DayEventLines(*events)) {
            report.lines.push_back(std::move(line));
        }
    }
    if (moon) {
        for (skytext::SkyLine& line : InstantLines(*moon)) {
            report.lines.push_back(std::move(line));
        }
    }
}

std::string PlaceAnswers::JsonOf(const Place& place, const CivilDate& date, const TimeOfDay& time) {
    const DayFigures figures = FiguresOf(SkyOf(place), date, time);
    const auto& events = figures.events;
    const auto& moon = figures.moon;
    const sky::MoonEvent* transit = events ? events->First(sky::MoonEventKind::transit) : nullptr;
    const auto number = [&moon](double value) { return moon ? JsonNumber(value) : "null"; };
    std::string out = "{\"name\":" + JsonString(place.name);
    out += ",\"latitude\":" + JsonNumber(place.latitudeDeg);
    out += ",\"longitude\":" + JsonNumber(place.longitudeDeg);
    out += ",\"source\":\"" + std::string(SourceKey(place.source)) + '"';
    out += ",\"moonrise\":" + UtcJson(events ? events->First(sky::MoonEventKind::rise) : nullptr);
    out += ",\"moonset\":" + UtcJson(events ? events->First(sky::MoonEventKind::set) : nullptr);
    out += ",\"transit\":" + UtcJson(transit);
    out += ",\"transit_altitude_deg\":" +
           (transit != nullptr ? JsonNumber(transit->altitudeDeg) : std::string("null"));
    out += ",\"altitude_deg\":" + number(moon ? moon->altitudeDeg : 0.0);
    out += ",\"azimuth_deg\":" + number(moon ? moon->azimuthDeg : 0.0);
    out += ",\"bright_limb_angle_deg\":" + number(moon ? moon->brightLimbDeg : 0.0);
    out += ",\"zenith_angle_deg\":" + number(moon ? moon->zenithAngleDeg : 0.0);
    out += ",\"always\":";
    out += !events || events->always == sky::MoonAlways::no ? "null"
           : events->always == sky::MoonAlways::up          ? "\"up\""
                                                            : "\"down\"";
    return out + '}';
}

} // namespace norvale::cli
