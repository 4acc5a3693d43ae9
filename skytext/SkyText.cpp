#include "skytext/SkyText.h"

#include "core/Clock.h"
#include "core/Texts.h"
#include "sky/LocalTime.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace norvale::skytext {

namespace {

std::string Two(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::string Year(int year) {
    std::string y = std::to_string(year);
    y.insert(0, y.size() < 4 ? 4 - y.size() : 0, '0');
    return y;
}

// "2026-12-07 12:00"
std::string DateAndMinute(int year, int month, int day, int hour, int minute) {
    return Year(year) + '-' + Two(month) + '-' + Two(day) + ' ' + Two(hour) + ':' + Two(minute);
}

bool UtcFields(std::int64_t seconds, std::tm& out) {
    const auto t = static_cast<std::time_t>(seconds);
    return ::gmtime_r(&t, &out) != nullptr;
}

// "+05:30", "-03:00", "+00:53:28": seconds east of UTC.
std::string OffsetText(long east) {
    const long magnitude = std::labs(east);
    std::string text = (east < 0 ? "-" : "+") + Two(static_cast<int>(magnitude / 3600)) + ':' +
                       Two(static_cast<int>(magnitude / 60 % 60));
    if (magnitude % 60 != 0) {
        text += ':' + Two(static_cast<int>(magnitude % 60));
    }
    return text;
}

// "2027-01-07 20:24 UTC": the fallback when there is no local time.
std::string UtcMinuteText(std::int64_t utcSeconds) {
    std::tm t{};
    if (!UtcFields(NearestMinute(utcSeconds), t)) {
        return "?";
    }
    return DateAndMinute(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min) + " UTC";
}

} // namespace

std::string_view PhaseName(sky::Phase phase) {
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

std::string_view PhaseKey(sky::Phase phase) {
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

std::string YearsText() {
    return std::to_string(sky::kFirstYear) + " to " + std::to_string(sky::kLastYear);
}

std::int64_t NearestMinute(std::int64_t seconds) {
    // Floor division, so instants before 1970 round the same way.
    const std::int64_t shifted = seconds + 30;
    std::int64_t minutes = shifted / 60;
    if (shifted % 60 < 0) {
        --minutes;
    }
    return minutes * 60;
}

std::string LocalMinuteText(std::int64_t utcSeconds) {
    std::tm t{};
    std::string zone;
    if (BreakDownLocalTime(utcSeconds, t)) {
        // The local reading is rounded, so that an offset that is not whole
        // minutes (local mean time before the zones) rounds as it reads.
        const std::int64_t east = t.tm_gmtoff;
        const std::int64_t rounded = NearestMinute(utcSeconds + east) - east;
        if (rounded != utcSeconds && !BreakDownLocalTime(rounded, t)) {
            return UtcMinuteText(utcSeconds);
        }
        zone = t.tm_zone != nullptr && *t.tm_zone != '\0' ? PrintableText(t.tm_zone)
                                                          : OffsetText(t.tm_gmtoff);
        return DateAndMinute(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min) + ' ' +
               zone;
    }
    return UtcMinuteText(utcSeconds);
}

std::string LocalClockText(std::int64_t utcSeconds) {
    const std::string text = LocalMinuteText(utcSeconds);
    // The date has no space in it, so the time of day begins after the first.
    const std::size_t space = text.find(' ');
    return space == std::string::npos ? text : text.substr(space + 1);
}

std::string IsoUtcText(std::int64_t utcSeconds) {
    std::tm t{};
    if (!UtcFields(utcSeconds, t)) {
        return "?";
    }
    return Year(t.tm_year + 1900) + '-' + Two(t.tm_mon + 1) + '-' + Two(t.tm_mday) + 'T' +
           Two(t.tm_hour) + ':' + Two(t.tm_min) + ':' + Two(t.tm_sec) + 'Z';
}

std::string IcsUtcText(std::int64_t utcSeconds) {
    std::tm t{};
    if (!UtcFields(utcSeconds, t)) {
        return "?";
    }
    return Year(t.tm_year + 1900) + Two(t.tm_mon + 1) + Two(t.tm_mday) + 'T' + Two(t.tm_hour) +
           Two(t.tm_min) + Two(t.tm_sec) + 'Z';
}

SkyReport MakeSkyReport(std::int64_t utcSeconds, const sky::SkyFigures& figures, SkyDetail detail) {
    const bool full = detail == SkyDetail::full;
    SkyReport report;
    report.heading = "True sky at " + LocalMinuteText(utcSeconds);
    auto add = [&report](std::string label, std::string value) {
        report.lines.push_back({std::move(label), std::move(value)});
    };
    add("Illuminated", FixedText(figures.illuminationPercent, 1) + "%");
    add("Age", FixedText(figures.ageDays, 2) + " days");
    if (full) {
        add("Previous new moon", LocalMinuteText(figures.previousNewMoon));
    }
    add("Next new moon", LocalMinuteText(figures.nextNewMoon));
    if (full) {
        add("Next first quarter", LocalMinuteText(figures.nextFirstQuarter));
    }
    add("Next full moon", LocalMinuteText(figures.nextFullMoon));
    if (full) {
        add("Next last quarter", LocalMinuteText(figures.nextLastQuarter));
        add("Distance", FixedText(figures.distanceKm, 0) + " km");
        add("Lunation", std::to_string(figures.lunation));
    }
    return report;
}

std::string AlignedText(const SkyReport& report) {
    std::size_t width = 0;
    for (const SkyLine& line : report.lines) {
        width = std::max(width, line.label.size());
    }
    std::string text = report.heading + '\n';
    for (const SkyLine& line : report.lines) {
        text +=
            line.label + ':' + std::string(width - line.label.size() + 1, ' ') + line.value + '\n';
    }
    return text;
}

std::string ListText(const SkyReport& report) {
    std::string text = report.heading;
    for (const SkyLine& line : report.lines) {
        text += '\n' + line.label + ": " + line.value;
    }
    return text;
}

std::string PhaseLine(const sky::PhaseInstant& phase) {
    return LocalMinuteText(phase.utcSeconds) + '\t' + std::string(PhaseName(phase.phase)) + '\n';
}

std::string TrueSkyText(const DateValue& shown) {
    SystemTime f;
    if (shown.status != DateStatus::valid || !shown.ToFields(f)) {
        return "No true sky for a day that cannot be placed.";
    }
    const std::optional<std::int64_t> instant =
        sky::LocalToUtcSeconds(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond);
    const std::optional<sky::SkyFigures> figures = instant ? sky::SkyAt(*instant) : std::nullopt;
    if (!figures) {
        return "True sky at " + DateAndMinute(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute) +
               "\nFigures are given only for the years " + YearsText() + ".";
    }
    return ListText(MakeSkyReport(*instant, *figures, SkyDetail::brief));
}

} // namespace norvale::skytext
