// The true sky's answers of norvale-cli, over the sky library (libnova).
#include "cli/Output.h"
#include "cli/PlaceAnswers.h"
#include "cli/SkyAnswers.h"
#include "core/Texts.h"
#include "sky/LocalTime.h"
#include "sky/Sky.h"
#include "version/Version.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace norvale::cli {

namespace {

constexpr int kFirstYear = 1800;
constexpr int kLastYear = 2200;

std::string Two(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string DatePart(const std::tm& t, const char* separator) {
    const int year = t.tm_year + 1900;
    std::string text = std::to_string(year);
    text.insert(0, text.size() < 4 ? 4 - text.size() : 0, '0');
    return text + separator + Two(t.tm_mon + 1) + separator + Two(t.tm_mday);
}

// "2027-01-07T20:24:08Z"
std::string UtcText(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    ::gmtime_r(&t, &utc);
    return DatePart(utc, "-") + 'T' + Two(utc.tm_hour) + ':' + Two(utc.tm_min) + ':' +
           Two(utc.tm_sec) + 'Z';
}

// "20270107T202408Z", the iCalendar form of a UTC instant.
std::string IcsUtcText(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm utc{};
    ::gmtime_r(&t, &utc);
    return DatePart(utc, "") + 'T' + Two(utc.tm_hour) + Two(utc.tm_min) + Two(utc.tm_sec) + 'Z';
}

// "2027-01-07 21:24 CET": the local date and time with the zone's abbreviation.
std::string LocalText(std::int64_t seconds) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) {
        return UtcText(seconds);
    }
    std::string text = DatePart(local, "-") + ' ' + Two(local.tm_hour) + ':' + Two(local.tm_min);
    if (local.tm_zone != nullptr) {
        text += ' ' + PrintableText(local.tm_zone);
    }
    return text;
}

const char* PhaseName(sky::Phase phase) {
    switch (phase) {
    case sky::Phase::newMoon:
        return "New Moon";
    case sky::Phase::firstQuarter:
        return "First Quarter";
    case sky::Phase::fullMoon:
        return "Full Moon";
    case sky::Phase::lastQuarter:
        return "Last Quarter";
    }
    return "";
}

const char* PhaseKey(sky::Phase phase) {
    switch (phase) {
    case sky::Phase::newMoon:
        return "new";
    case sky::Phase::firstQuarter:
        return "first-quarter";
    case sky::Phase::fullMoon:
        return "full";
    case sky::Phase::lastQuarter:
        return "last-quarter";
    }
    return "";
}

std::optional<std::int64_t> StartOfLocalDay(const CivilDate& date) {
    return sky::LocalToUtcSeconds(date.year, date.month, date.day, 0, 0, 0);
}

// SOURCE_DATE_EPOCH when it is a plain number of seconds no later than the
// end of 9999 (anything else is ignored and each event's start is its stamp).
std::optional<std::int64_t> SourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (text == nullptr || *text == '\0' || std::strlen(text) > 12 ||
        std::strspn(text, "0123456789") != std::strlen(text)) {
        return std::nullopt;
    }
    const long long value = std::strtoll(text, nullptr, 10);
    constexpr long long kLastSecondOf9999 = 253402300799;
    if (value > kLastSecondOf9999) {
        return std::nullopt;
    }
    return value;
}

class LibnovaSkyAnswers : public SkyAnswers {
public:
    std::string JsonOf(const CivilDate& date, const TimeOfDay& time) override {
        const auto figures = FiguresAt(date, time);
        if (!figures) {
            return "null";
        }
        std::string out = "{";
        out += "\"illumination_percent\":" + JsonNumber(figures->illuminationPercent);
        out += ",\"age_days\":" + JsonNumber(figures->ageDays);
        out += ",\"previous_new_moon\":\"" + UtcText(figures->previousNewMoon) + '"';
        out += ",\"next_new_moon\":\"" + UtcText(figures->nextNewMoon) + '"';
        out += ",\"next_first_quarter\":\"" + UtcText(figures->nextFirstQuarter) + '"';
        out += ",\"next_full_moon\":\"" + UtcText(figures->nextFullMoon) + '"';
        out += ",\"next_last_quarter\":\"" + UtcText(figures->nextLastQuarter) + '"';
        out += ",\"distance_km\":" + JsonNumber(figures->distanceKm);
        out += ",\"lunation\":" + std::to_string(figures->lunation);
        out += '}';
        return out;
    }

    bool PrintFigures(const CivilDate& date, const TimeOfDay& time, std::ostream& out) override {
        const auto instant = sky::LocalToUtcSeconds(date.year, date.month, date.day, time.hour,
                                                    time.minute, time.second);
        const auto figures = instant ? m_timeline.At(*instant) : std::nullopt;
        if (!figures) {
            return false;
        }
        out << "True sky at " << LocalText(*instant) << '\n'
            << "Illuminated:        " << FixedText(figures->illuminationPercent, 1) << "%\n"
            << "Age:                " << FixedText(figures->ageDays, 2) << " days\n"
            << "Previous new moon:  " << LocalText(figures->previousNewMoon) << '\n'
            << "Next new moon:      " << LocalText(figures->nextNewMoon) << '\n'
            << "Next first quarter: " << LocalText(figures->nextFirstQuarter) << '\n'
            << "Next full moon:     " << LocalText(figures->nextFullMoon) << '\n'
            << "Next last quarter:  " << LocalText(figures->nextLastQuarter) << '\n'
            << "Distance:           " << FixedText(figures->distanceKm, 0) << " km\n"
            << "Lunation:           " << figures->lunation << '\n';
        return true;
    }

    bool PrintPhases(const DayRun& run, std::ostream& out) override {
        const CivilDate last = AddDays(run.first, (run.count - 1) * run.step);
        const CivilDate& low = run.step > 0 ? run.first : last;
        const CivilDate& high = run.step > 0 ? last : run.first;
        const auto from = StartOfLocalDay(low);
        const auto after = StartOfLocalDay(AddDays(high, 1));
        if (!from || !after || !sky::InDocumentedRange(*from) ||
            !sky::InDocumentedRange(*after - 1)) {
            return false;
        }
        std::vector<sky::PhaseInstant> phases = m_timeline.PhasesBetween(*from, *after - 1);
        if (run.step < 0) {
            std::reverse(phases.begin(), phases.end());
        }
        for (const sky::PhaseInstant& p : phases) {
            out << LocalText(p.utcSeconds) << '\t' << PhaseName(p.phase) << '\n';
        }
        return true;
    }

    bool WriteCalendar(int year, std::ostream& out) override {
        if (year < kFirstYear || year > kLastYear) {
            return false;
        }
        const auto from = StartOfUtcYear(year);
        const std::vector<sky::PhaseInstant> phases =
            m_timeline.PhasesBetween(from, StartOfUtcYear(year + 1) - 1);
        const auto stamp = SourceDateEpoch();
        std::string ics;
        ics += "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
        ics += std::string("PRODID:-//Norvale//norvale-cli ") + kVersion + "//EN\r\n";
        ics += "CALSCALE:GREGORIAN\r\nMETHOD:PUBLISH\r\n";
        ics += "X-WR-CALNAME:Moon phases " + std::to_string(year) + "\r\n";
        for (const sky::PhaseInstant& p : phases) {
            // The lunation and the phase name the event whatever its computed
            // second, so calendars see the same event after any refinement.
            ics += "BEGIN:VEVENT\r\n";
            ics += "UID:sky-" + std::to_string(p.lunation) + '-' + PhaseKey(p.phase) +
                   "@norvale.example\r\n";
            ics += "DTSTAMP:" + IcsUtcText(stamp.value_or(p.utcSeconds)) + "\r\n";
            ics += "DTSTART:" + IcsUtcText(p.utcSeconds) + "\r\n";
            ics += std::string("SUMMARY:") + PhaseName(p.phase) + "\r\n";
            ics += "TRANSP:TRANSPARENT\r\nEND:VEVENT\r\n";
        }
        ics += "END:VCALENDAR\r\n";
        out << ics;
        return true;
    }

    bool PrintRise(const Place& place, const DayRun& run, std::ostream& out) override {
        return m_place.PrintRise(place, run, out);
    }

    void PrintPlaceFigures(const Place& place, const CivilDate& date, const TimeOfDay& time,
                           std::ostream& out) override {
        m_place.PrintFigures(place, date, time, out);
    }

    std::string PlaceJsonOf(const Place& place, const CivilDate& date,
                            const TimeOfDay& time) override {
        return m_place.JsonOf(place, date, time);
    }

    std::string YearsText() const override {
        return std::to_string(kFirstYear) + " to " + std::to_string(kLastYear) + " (UTC)";
    }

private:
    std::optional<sky::SkyFigures> FiguresAt(const CivilDate& date, const TimeOfDay& time) {
        const auto instant = sky::LocalToUtcSeconds(date.year, date.month, date.day, time.hour,
                                                    time.minute, time.second);
        return instant ? m_timeline.At(*instant) : std::nullopt;
    }

    static std::int64_t StartOfUtcYear(int year) {
        using namespace std::chrono;
        return sys_seconds{sys_days{std::chrono::year{year} / 1 / 1}}.time_since_epoch().count();
    }

    sky::SkyTimeline m_timeline;
    PlaceAnswers m_place;
};

} // namespace

std::unique_ptr<SkyAnswers> MakeSkyAnswers() {
    return std::make_unique<LibnovaSkyAnswers>();
}

} // namespace norvale::cli
