// The true sky's answers of norvale-cli, over the sky library (libnova).
#include "skytext/SkyText.h"
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
        out += ",\"previous_new_moon\":\"" + skytext::IsoUtcText(figures->previousNewMoon) + '"';
        out += ",\"next_new_moon\":\"" + skytext::IsoUtcText(figures->nextNewMoon) + '"';
        out += ",\"next_first_quarter\":\"" + skytext::IsoUtcText(figures->nextFirstQuarter) + '"';
        out += ",\"next_full_moon\":\"" + skytext::IsoUtcText(figures->nextFullMoon) + '"';
        out += ",\"next_last_quarter\":\"" + skytext::IsoUtcText(figures->nextLastQuarter) + '"';
        out += ",\"distance_km\":" + JsonNumber(figures->distanceKm);
        out += ",\"lunation\":" + std::to_string(figures->lunation);
        out += '}';
        return out;
    }

    bool PrintFigures(const CivilDate& date, const TimeOfDay& time, const Place* place,
                      std::ostream& out) override {
        const auto instant = sky::LocalToUtcSeconds(date.year, date.month, date.day, time.hour,
                                                    time.minute, time.second);
        const auto figures = instant ? m_timeline.At(*instant) : std::nullopt;
        if (!figures) {
            return false;
        }
        skytext::SkyReport report =
            skytext::MakeSkyReport(*instant, *figures, skytext::SkyDetail::full);
        if (place != nullptr) {
            m_place.AddFigures(*place, date, time, report);
        }
        out << skytext::AlignedText(report);
        return true;
    }

    bool PrintPhases(const DayRun& run, std::ostream& out, std::string& outside) override {
        const CivilDate last = AddDays(run.first, (run.count - 1) * run.step);
        const CivilDate& low = run.step > 0 ? run.first : last;
        const CivilDate& high = run.step > 0 ? last : run.first;
        const auto from = StartOfLocalDay(low);
        const auto after = StartOfLocalDay(AddDays(high, 1));
        if (!from || !after || *from > sky::kLastSecond || *after - 1 < sky::kFirstSecond) {
            return false;
        }
        const bool early = *from < sky::kFirstSecond;
        const bool late = *after - 1 > sky::kLastSecond;
        if (early || late) {
            outside = "the true phases are given for " + skytext::YearsText() +
                      " (UTC) only; none are printed for the days " +
                      (early ? "before " + skytext::IsoUtcText(sky::kFirstSecond) : "") +
                      (early && late ? " and " : "") +
                      (late ? "after " + skytext::IsoUtcText(sky::kLastSecond) : "");
        }
        std::vector<sky::PhaseInstant> phases = m_timeline.PhasesBetween(*from, *after - 1);
        if (run.step < 0) {
            std::reverse(phases.begin(), phases.end());
        }
        for (const sky::PhaseInstant& p : phases) {
            out << skytext::PhaseLine(p);
        }
        return true;
    }

    bool WriteCalendar(int year, std::ostream& out) override {
        if (year < sky::kFirstYear || year > sky::kLastYear) {
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
        // Not the model calendar's name: a user who imports both tells them apart.
        ics += "X-WR-CALNAME:Moon phases " + std::to_string(year) + " (true instants)\r\n";
        for (const sky::PhaseInstant& p : phases) {
            // The lunation and the phase name the event whatever its computed
            // second, so calendars see the same event after any refinement.
            ics += "BEGIN:VEVENT\r\n";
            ics += "UID:sky-" + std::to_string(p.lunation) + '-' +
                   std::string(skytext::PhaseKey(p.phase)) + "@norvale.example\r\n";
            ics += "DTSTAMP:" + skytext::IcsUtcText(stamp.value_or(p.utcSeconds)) + "\r\n";
            ics += "DTSTART:" + skytext::IcsUtcText(p.utcSeconds) + "\r\n";
            // An instant, not an hour: without it some clients give each
            // event an hour and a phase at 23:23 shows on two days.
            ics += "DURATION:PT0S\r\n";
            ics += "SUMMARY:" + std::string(skytext::PhaseName(p.phase)) + "\r\n";
            ics += "TRANSP:TRANSPARENT\r\nEND:VEVENT\r\n";
        }
        ics += "END:VCALENDAR\r\n";
        out << ics;
        return true;
    }

    bool PrintRise(const Place& place, const DayRun& run, std::ostream& out) override {
        return m_place.PrintRise(place, run, out);
    }

    std::string PlaceJsonOf(const Place& place, const CivilDate& date,
                            const TimeOfDay& time) override {
        return m_place.JsonOf(place, date, time);
    }

    std::string YearsText() const override { return skytext::YearsText() + " (UTC)"; }

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
