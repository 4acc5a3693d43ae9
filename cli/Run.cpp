#include "cli/Run.h"

#include "atomicfile/AtomicFile.h"
#include "cli/Output.h"
#include "cli/PlaceRun.h"
#include "cli/SkyAnswers.h"
#include "core/Clock.h"
#include "core/DayRange.h"
#include "core/Texts.h"
#include "options/Options.h"
#include "pixels/Pixels.h"
#include "place/PlaceSky.h"
#include "sky/Range.h"
#include "version/Version.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include <unistd.h>

namespace norvale::cli {
namespace {

constexpr int kPhasesDays = 30;

struct Moment {
    CivilDate date;
    TimeOfDay time;
};

// The current local date and time of day, or nullopt when the clock cannot
// be read as a local time.
std::optional<Moment> CurrentMoment() {
    const DateValue now = DateValue::Now();
    SystemTime fields;
    if (!now.ToFields(fields)) {
        return std::nullopt;
    }
    return Moment{CivilDate{fields.wYear, fields.wMonth, fields.wDay},
                  TimeOfDay{fields.wHour, fields.wMinute, fields.wSecond}};
}

// The asked-for date and time, with today and the current time of day
// filling what was not given.
std::optional<Moment> ChosenMoment(const Options& options) {
    if (options.date && options.time) {
        return Moment{*options.date, *options.time};
    }
    const auto now = CurrentMoment();
    if (!now) {
        return std::nullopt;
    }
    return Moment{options.date.value_or(now->date), options.time.value_or(now->time)};
}

DateValue ToDateValue(const Moment& moment) {
    DateValue v;
    v.FromFields(moment.date.year, moment.date.month, moment.date.day, moment.time.hour,
                 moment.time.minute, moment.time.second);
    return v;
}

// "1800 to 2200 (UTC)" without the sky's texts, which the plain program
// does not link.
std::string SkyYearsOfTheRange() {
    return std::to_string(sky::kFirstYear) + " to " + std::to_string(sky::kLastYear) + " (UTC)";
}

int Fail(std::ostream& err, std::string_view message) {
    err << "norvale-cli: " << message << '\n';
    return 1;
}

void PrintDays(const Options& options, const Moment& start, std::ostream& out, SkyAnswers* sky,
               const std::optional<Place>& place) {
    const DayRun run = DaysToPrint(options, start.date);
    // One reading of the clock for every caption of the run.
    const DateValue today = DateValue::Now();
    for (int i = 0; i < run.count && out; ++i) {
        const DayLine line = MakeDayLine(AddDays(run.first, i * run.step), start.time, today);
        if (options.json) {
            // "place" is null without a given or stored place.
            out << (sky != nullptr
                        ? JsonLine(line, sky->JsonOf(line.date, line.time),
                                   place ? sky->PlaceJsonOf(*place, line.date, line.time) : "null")
                        : JsonLine(line));
        } else if (ListsDays(options)) {
            out << TabLine(line);
        } else {
            out << ShowLines(line);
        }
    }
}

// The PNG's bytes: the panel, or the true picture with --true.
std::optional<std::vector<std::uint8_t>> PngBytes(const Options& options, const Moment& moment,
                                                  const FullServices& services,
                                                  const std::optional<Place>& place,
                                                  std::string& error) {
    // The star seed defaults to the current second, truncated to 32 bits.
    const auto seed = options.seed.value_or(StarSeedOfSecond(CurrentUnixSeconds()));
    std::optional<std::vector<std::uint8_t>> bytes;
    if (options.truePicture) {
        error = "cannot draw the true Moon";
        if (services.encodeTruePng) {
            bytes =
                services.encodeTruePng({moment.date, moment.time, &options, seed, place}, error);
        }
        return bytes;
    }
    error = "cannot draw the Moon panel: no usable font was found for its text";
    if (services.encodePng) {
        bytes = services.encodePng(MakeMoonDay(ToDateValue(moment), DateValue::Now()),
                                   !options.southern, seed, options.scale);
    }
    return bytes;
}

// Writes the picture to the --png file, or to out for "-".
int WritePng(const Options& options, const Moment& moment, std::ostream& out, std::ostream& err,
             const FullServices& services) {
    // The true Moon is seen from --place or the stored place; --zenith-up
    // takes the time zone's city when there is neither.
    std::optional<Place> place;
    if (options.truePicture) {
        int status = 0;
        place = PlaceFor(options, options.zenithUp, err, status);
        if (status != 0) {
            return status;
        }
    }
    std::string error;
    const auto bytes = PngBytes(options, moment, services, place, error);
    if (!bytes) {
        return Fail(err, error);
    }
    // "/dev/stdout" is standard output too: through a pipe it names no file
    // the walk can replace.
    if (options.pngPath == "-" || options.pngPath == "/dev/stdout") {
        if (&out == &std::cout && ::isatty(STDOUT_FILENO) == 1) {
            return Fail(err, "standard output is a terminal: the PNG goes to a file or a pipe "
                             "(--png FILE, or --png - | ...)");
        }
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<std::streamsize>(bytes->size()));
        return 0; // a failed write is caught with every other write to out
    }
    const FileResult written = ReplaceFile(options.pngPath, *bytes, OutputFilePolicy());
    if (written.ok) {
        return 0;
    }
    // The walk's own words where they say more than the error number (a
    // refused link or folder, a target that is not a regular file).
    std::string why = written.refused || written.error == EINVAL || written.readOnly
                          ? PrintableText(written.message)
                          : std::string(std::strerror(written.error));
    if (written.inPlace) {
        why = "its folder is read-only, so it was written in place and may be cut short: " + why;
    }
    return Fail(err, "cannot write " + Quoted(options.pngPath) + ": " + why);
}

// The true sky's answers, which need its years.
int RunSky(const Options& options, const Moment& moment, std::ostream& out, std::ostream& err,
           SkyAnswers* sky, const std::optional<Place>& place) {
    if (sky == nullptr) {
        return Fail(err, "this program has no true-sky figures");
    }
    // Without --days or --to, --phases covers 30 days: about one lunation,
    // so each principal phase comes once.
    const DayRun days = ListsDays(options) ? DaysToPrint(options, moment.date)
                                           : DayRun{moment.date, kPhasesDays, 1};
    std::string outside;
    const bool done =
        options.action == Action::sky
            ? sky->PrintFigures(moment.date, moment.time, place ? &*place : nullptr, out)
            : sky->PrintPhases(days, out, outside);
    if (done && !outside.empty()) {
        // The one line on stderr of a successful run: what was left out.
        err << "norvale-cli: " << outside << '\n';
    }
    if (!done) {
        return Fail(err,
                    "the true sky's figures are given for the years " + sky->YearsText() + " only");
    }
    if (options.action == Action::sky && !place) {
        out << kNoPlaceHint << '\n';
    }
    return 0;
}

// --rise: the place's rise, transit and set for each day.
int RunRise(const Options& options, const Moment& moment, std::ostream& out, std::ostream& err,
            SkyAnswers* sky, const std::optional<Place>& place) {
    if (sky == nullptr) {
        return Fail(err, "this program has no true-sky figures");
    }
    if (!place) {
        return Fail(err, kNoPlaceHint);
    }
    if (!sky->PrintRise(*place, DaysToPrint(options, moment.date), out)) {
        return Fail(err,
                    "moonrise and moonset are given for the years " + sky->YearsText() + " only");
    }
    return 0;
}

// The actions that need a date and time: the text answers, --png, --sky and
// --phases.
int RunForMoment(const Options& options, std::ostream& out, std::ostream& err,
                 const FullServices& services) {
    const auto moment = ChosenMoment(options);
    if (!moment) {
        return Fail(err, "cannot read the current local date and time");
    }
    const bool sky = options.action == Action::sky || options.action == Action::phases;
    if (!(sky ? InParsedRange(moment->date) : InAllowedRange(moment->date))) {
        return Fail(err, "today (" + DateText(moment->date) + ") lies outside " +
                             std::string(kDayRangeText) + "; use --date");
    }
    if (options.days && !sky) {
        if (const auto error = CheckDaysRange(moment->date, *options.days)) {
            err << error->message << '\n';
            return 2;
        }
    }
    // Every caption is told against today: a clock that cannot be read as a
    // day of the range would caption every day "Future".
    if (options.action == Action::show || options.action == Action::png) {
        if (const auto now = CurrentMoment(); !now || !InAllowedRange(now->date)) {
            return Fail(err, "the clock is out of range: today is not a day from " +
                                 std::string(kDayRangeText) + ", so no day can be captioned");
        }
    }
    if (options.action == Action::png) {
        return WritePng(options, *moment, out, err, services);
    }
    // The time zone's city stands in for a place on --rise and --sky; JSON
    // lines, which status bars read often, take only a given or stored one.
    std::optional<Place> place;
    const bool placed =
        options.action == Action::rise || options.action == Action::sky || options.json;
    if (placed && services.sky != nullptr) {
        int status = 0;
        place = PlaceFor(options, !options.json, err, status);
        if (status != 0) {
            return status;
        }
    }
    if (options.action == Action::rise) {
        return RunRise(options, *moment, out, err, services.sky, place);
    }
    if (options.action == Action::sky || options.action == Action::phases) {
        return RunSky(options, *moment, out, err, services.sky, place);
    }
    PrintDays(options, *moment, out, services.sky, place);
    return 0;
}

// --ics: the true instants, or the model's phase days with --calendar-days.
int RunCalendar(const Options& options, std::ostream& out, std::ostream& err, SkyAnswers* sky) {
    if (options.calendarDays) {
        out << IcsCalendar(options.icsYear);
        return 0;
    }
    if (sky == nullptr || !sky->WriteCalendar(options.icsYear, out)) {
        return Fail(err, "the true phase instants are given for the years " +
                             (sky != nullptr ? sky->YearsText() : SkyYearsOfTheRange()) +
                             " only; --ics " + std::to_string(options.icsYear) +
                             " --calendar-days gives the calendar's phase days");
    }
    return 0;
}

} // namespace

int Run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
        const FullServices& services) {
    const ParseResult parsed = ParseOptions(args);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        err << error->message << '\n';
        return 2;
    }
    const Options& options = std::get<Options>(parsed);
    int status = 0;
    switch (options.action) {
    case Action::help:
        out << HelpText();
        break;
    case Action::version:
        out << "norvale-cli " << kVersion << '\n';
        break;
    case Action::ics:
        status = RunCalendar(options, out, err, services.sky);
        break;
    case Action::setPlace:
        status = RunSetPlace(options, out, err);
        break;
    case Action::rise:
    case Action::show:
    case Action::png:
    case Action::sky:
    case Action::phases:
        status = RunForMoment(options, out, err, services);
        break;
    }
    // A full disk or a closed pipe must not pass for success.
    out.flush();
    if (status == 0 && !out) {
        return Fail(err, "cannot write to standard output");
    }
    return status;
}

bool NeedsFullProgram(const Options& options) {
    return options.action == Action::png || options.action == Action::ics ||
           options.action == Action::sky || options.action == Action::phases ||
           options.action == Action::rise || options.action == Action::setPlace || options.json;
}

} // namespace norvale::cli
