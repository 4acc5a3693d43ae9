#include "options/Options.h"

#include "core/Texts.h"

#include <array>
#include <charconv>
#include <chrono>
#include <limits>
#include <span>

namespace norvale::cli {
namespace {

constexpr std::string_view Program = "norvale-cli: ";
constexpr std::string_view RangeText = "from 1900-01-01 to 9999-01-01";

enum class Id {
    date,
    time,
    days,
    to,
    json,
    sky,
    phases,
    png,
    scale,
    southern,
    seed,
    ics,
    calendarDays,
    help,
    version
};

struct Spec {
    Id id;
    std::string_view name;
    bool takesValue;
    std::string_view form; // the accepted form, quoted in errors
};

constexpr std::array<Spec, 15> Specs{{
    {Id::date, "--date", true, "YYYY-MM-DD, a day from 1900-01-01 to 9999-01-01"},
    {Id::time, "--time", true, "HH:MM or HH:MM:SS (00:00 to 23:59:59)"},
    {Id::days, "--days", true, "a whole number from 1 to 36600, or -1 to -36600"},
    {Id::to, "--to", true, "YYYY-MM-DD, a day from 1900-01-01 to 9999-01-01"},
    {Id::json, "--json", false, ""},
    {Id::sky, "--sky", false, ""},
    {Id::phases, "--phases", false, ""},
    {Id::png, "--png", true, "a file name, or - for standard output"},
    {Id::scale, "--scale", true, "1 or 2"},
    {Id::southern, "--southern", false, ""},
    {Id::seed, "--seed", true, "a whole number from 0 to 4294967295"},
    {Id::ics, "--ics", true, "a year from 1800 to 9998"},
    {Id::calendarDays, "--calendar-days", false, ""},
    {Id::help, "--help", false, ""},
    {Id::version, "--version", false, ""},
}};
// The parser marks each option it has seen in an array indexed by its Id.
static_assert(static_cast<std::size_t>(Id::version) + 1 == Specs.size());

const Spec* FindSpec(std::string_view name) {
    if (name == "-h") {
        name = "--help";
    } else if (name == "-V") {
        name = "--version";
    }
    for (const Spec& spec : Specs) {
        if (spec.name == name) {
            return &spec;
        }
    }
    return nullptr;
}

std::string NameOf(Id id) {
    for (const Spec& spec : Specs) {
        if (spec.id == id) {
            return std::string(spec.name);
        }
    }
    return {};
}

UsageError BadValue(const Spec& spec, std::string_view value) {
    return UsageError{std::string(Program) + std::string(spec.name) + " expects " +
                      std::string(spec.form) + ", got " + Quoted(value)};
}

UsageError Message(std::string_view text) {
    return UsageError{std::string(Program) + std::string(text)};
}

// Digits only (no sign, no spaces), parsed into an unsigned 64-bit number;
// nullopt on anything else or on overflow.
std::optional<std::uint64_t> ParseDigits(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Exactly `width` digits.
std::optional<int> FixedDigits(std::string_view text, std::size_t width) {
    if (text.size() != width) {
        return std::nullopt;
    }
    const auto value = ParseDigits(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

std::optional<std::uint64_t> NumberIn(std::string_view text, std::uint64_t low,
                                      std::uint64_t high) {
    const auto value = ParseDigits(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

std::chrono::sys_days ToSysDays(const CivilDate& date) {
    using namespace std::chrono;
    return sys_days{year{date.year} / month{static_cast<unsigned>(date.month)} /
                    day{static_cast<unsigned>(date.day)}};
}

// A non-negative number with leading zeros to at least `width` digits.
std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

bool NotAfter(const CivilDate& a, const CivilDate& b) {
    return ToSysDays(a) <= ToSysDays(b);
}

// Applies one option with its value (empty for a flag) to options.
std::optional<UsageError> Apply(const Spec& spec, std::string_view value, Options& options) {
    switch (spec.id) {
    case Id::date:
        options.date = ParseDate(value);
        if (!options.date || !InAllowedRange(*options.date)) {
            return BadValue(spec, value);
        }
        break;
    case Id::time:
        options.time = ParseTime(value);
        if (!options.time) {
            return BadValue(spec, value);
        }
        break;
    case Id::days: {
        const bool back = value.starts_with('-');
        if (const auto n = NumberIn(back ? value.substr(1) : value, 1, MaxDays)) {
            options.days = back ? -static_cast<int>(*n) : static_cast<int>(*n);
        } else {
            return BadValue(spec, value);
        }
        break;
    }
    case Id::to:
        options.to = ParseDate(value);
        if (!options.to || !InAllowedRange(*options.to)) {
            return BadValue(spec, value);
        }
        break;
    case Id::scale:
        if (value == "1" || value == "2") {
            options.scale = value == "2" ? 2 : 1;
        } else {
            return BadValue(spec, value);
        }
        break;
    case Id::json:
        options.json = true;
        break;
    case Id::png:
        // "-" is standard output; any other value that starts with '-' is
        // an option forgotten after --png, never a file name.
        if (value.empty() || (value.starts_with('-') && value != "-")) {
            return BadValue(spec, value);
        }
        options.pngPath = std::string(value);
        break;
    case Id::southern:
        options.southern = true;
        break;
    case Id::seed:
        if (const auto n = NumberIn(value, 0, std::numeric_limits<std::uint32_t>::max())) {
            options.seed = static_cast<std::uint32_t>(*n);
        } else {
            return BadValue(spec, value);
        }
        break;
    case Id::ics:
        if (const auto n = NumberIn(value, FirstIcsYear, LastIcsYear)) {
            options.icsYear = static_cast<int>(*n);
        } else {
            return BadValue(spec, value);
        }
        break;
    case Id::calendarDays:
        options.calendarDays = true;
        break;
    case Id::sky:
    case Id::phases:
    case Id::help:
    case Id::version:
        break;
    }
    return std::nullopt;
}

// Rejects options that make no sense together, then picks the action.
std::optional<UsageError> Resolve(const std::array<bool, Specs.size()>& seen, Options& options) {
    const auto has = [&seen](Id id) { return seen[static_cast<std::size_t>(id)]; };
    if (has(Id::help) || has(Id::version)) {
        options.action = has(Id::help) ? Action::help : Action::version;
        return std::nullopt;
    }
    if (has(Id::calendarDays) && !has(Id::ics)) {
        return Message("--calendar-days only applies together with --ics YEAR");
    }
    if (has(Id::ics)) {
        for (const Id other : {Id::date, Id::time, Id::days, Id::to, Id::json, Id::sky, Id::phases,
                               Id::png, Id::scale, Id::southern, Id::seed}) {
            if (has(other)) {
                return Message("--ics YEAR cannot be combined with " + NameOf(other));
            }
        }
        if (options.calendarDays && options.icsYear < FirstCalendarDaysYear) {
            return Message("--ics YEAR --calendar-days needs a year from 1900 to 9998, got " +
                           std::to_string(options.icsYear));
        }
        options.action = Action::ics;
        return std::nullopt;
    }
    if (has(Id::days) && has(Id::to)) {
        return Message("--days N cannot be combined with --to DATE");
    }
    if (has(Id::sky) || has(Id::phases)) {
        const Id mode = has(Id::sky) ? Id::sky : Id::phases;
        // --sky answers for one instant; --phases takes a run of days.
        static constexpr std::array<Id, 8> skyOthers = {
            Id::phases, Id::days, Id::to, Id::json, Id::png, Id::scale, Id::southern, Id::seed};
        static constexpr std::array<Id, 5> phasesOthers = {Id::json, Id::png, Id::scale,
                                                           Id::southern, Id::seed};
        const std::span<const Id> others =
            mode == Id::sky ? std::span<const Id>(skyOthers) : std::span<const Id>(phasesOthers);
        for (const Id other : others) {
            if (has(other)) {
                return Message(NameOf(mode) + " cannot be combined with " + NameOf(other));
            }
        }
        if (options.days && options.date) {
            if (auto error = CheckDaysRange(*options.date, *options.days)) {
                return error;
            }
        }
        options.action = mode == Id::sky ? Action::sky : Action::phases;
        return std::nullopt;
    }
    if (has(Id::png)) {
        for (const Id other : {Id::days, Id::to, Id::json}) {
            if (has(other)) {
                return Message("--png FILE cannot be combined with " + NameOf(other));
            }
        }
        options.action = Action::png;
        return std::nullopt;
    }
    for (const Id other : {Id::southern, Id::seed, Id::scale}) {
        if (has(other)) {
            return Message(NameOf(other) + " only applies together with --png FILE");
        }
    }
    if (options.days && options.date) {
        if (auto error = CheckDaysRange(*options.date, *options.days)) {
            return error;
        }
    }
    options.action = Action::show;
    return std::nullopt;
}

} // namespace

std::optional<CivilDate> ParseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const auto y = FixedDigits(text.substr(0, 4), 4);
    const auto m = FixedDigits(text.substr(5, 2), 2);
    const auto d = FixedDigits(text.substr(8, 2), 2);
    if (!y || !m || !d) {
        return std::nullopt;
    }
    using namespace std::chrono;
    const year_month_day ymd{year{*y}, month{static_cast<unsigned>(*m)},
                             day{static_cast<unsigned>(*d)}};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    return CivilDate{*y, *m, *d};
}

std::optional<TimeOfDay> ParseTime(std::string_view text) {
    if (text.size() != 5 && text.size() != 8) {
        return std::nullopt;
    }
    if (text[2] != ':' || (text.size() == 8 && text[5] != ':')) {
        return std::nullopt;
    }
    const auto h = FixedDigits(text.substr(0, 2), 2);
    const auto m = FixedDigits(text.substr(3, 2), 2);
    const auto s = text.size() == 8 ? FixedDigits(text.substr(6, 2), 2) : std::optional<int>{0};
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) {
        return std::nullopt;
    }
    return TimeOfDay{*h, *m, *s};
}

CivilDate AddDays(const CivilDate& date, int offset) {
    using namespace std::chrono;
    const year_month_day ymd{ToSysDays(date) + days{offset}};
    return CivilDate{static_cast<int>(ymd.year()), static_cast<int>(unsigned{ymd.month()}),
                     static_cast<int>(unsigned{ymd.day()})};
}

std::optional<UsageError> CheckDaysRange(const CivilDate& start, int days) {
    const CivilDate last = AddDays(start, days > 0 ? days - 1 : days + 1);
    if (InAllowedRange(last)) {
        return std::nullopt;
    }
    return Message("--days " + std::to_string(days) + " from " + DateText(start) + " runs past " +
                   (days > 0 ? "9999-01-01" : "1900-01-01") + "; every day must lie " +
                   std::string(RangeText));
}

DayRun DaysToPrint(const Options& options, const CivilDate& start) {
    if (options.days) {
        const int n = *options.days;
        return DayRun{start, n > 0 ? n : -n, n > 0 ? 1 : -1};
    }
    if (options.to) {
        const auto span = (ToSysDays(*options.to) - ToSysDays(start)).count();
        const auto count = static_cast<int>(span >= 0 ? span + 1 : 1 - span);
        return DayRun{start, count, span >= 0 ? 1 : -1};
    }
    return DayRun{start, 1, 1};
}

bool ListsDays(const Options& options) {
    return options.days.has_value() || options.to.has_value();
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t MaxShown = 40;
    std::string out = "'" + PrintableText(text.substr(0, MaxShown));
    if (text.size() > MaxShown) {
        out += "...";
    }
    out += "'";
    return out;
}

std::string DateText(const CivilDate& date) {
    return Padded(date.year, 4) + '-' + Padded(date.month, 2) + '-' + Padded(date.day, 2);
}

std::string TimeText(const TimeOfDay& time) {
    return Padded(time.hour, 2) + ':' + Padded(time.minute, 2) + ':' + Padded(time.second, 2);
}

bool InAllowedRange(const CivilDate& date) {
    return NotAfter(FirstAllowedDay, date) && NotAfter(date, LastAllowedDay);
}

ParseResult ParseOptions(std::span<const std::string_view> args) {
    Options options;
    std::array<bool, Specs.size()> seen{};
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
            continue;
        }
        // A word that is not an option is the date to show, as --date takes it.
        if (optionsEnded || !args[i].starts_with('-')) {
            bool& dated = seen[static_cast<std::size_t>(Id::date)];
            if (dated) {
                return Message("a second date " + Quoted(args[i]) + "; give one day to show");
            }
            dated = true;
            options.date = ParseDate(args[i]);
            if (!options.date || !InAllowedRange(*options.date)) {
                return Message("the date must be YYYY-MM-DD, a day " + std::string(RangeText) +
                               ", got " + Quoted(args[i]));
            }
            continue;
        }
        std::string_view name = args[i];
        std::optional<std::string_view> value;
        if (const auto eq = name.find('=');
            name.starts_with("--") && eq != std::string_view::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const Spec* spec = FindSpec(name);
        if (spec == nullptr) {
            return Message("unknown option " + Quoted(args[i]) + "; see --help");
        }
        bool& already = seen[static_cast<std::size_t>(spec->id)];
        if (already) {
            return Message(std::string(spec->name) +
                           (spec->id == Id::date ? " (or a date alone)" : "") +
                           " given more than once");
        }
        already = true;
        if (spec->takesValue && !value) {
            if (i + 1 == args.size()) {
                return Message(std::string(spec->name) +
                               " needs a value: " + std::string(spec->form));
            }
            value = args[++i];
        } else if (!spec->takesValue && value) {
            return Message(std::string(spec->name) + " takes no value");
        }
        if (auto error = Apply(*spec, value.value_or(std::string_view{}), options)) {
            return *error;
        }
    }
    if (auto error = Resolve(seen, options)) {
        return *error;
    }
    return options;
}

std::string HelpText() {
    return "Usage: norvale-cli [DATE] [--date DATE] [--time HH:MM[:SS]]\n"
           "                   [--days N | --days -N | --to DATE] [--json]\n"
           "       norvale-cli [DATE] [--time HH:MM[:SS]] --sky\n"
           "       norvale-cli [DATE] [--days N | --days -N | --to DATE] --phases\n"
           "       norvale-cli [DATE] [--time HH:MM[:SS]] --png FILE|- [--scale 1|2]\n"
           "                   [--southern] [--seed N]\n"
           "       norvale-cli --ics YEAR [--calendar-days]\n"
           "\n"
           "Prints the Moon's phase for a day: the caption, the age with the phase name\n"
           "and the illuminated percentage, exactly as the Norvale window shows them\n"
           "(its calendar model), and the true sky beside it.\n"
           "\n"
           "  DATE, --date DATE  the day to show, YYYY-MM-DD (default: today);\n"
           "                     1900-01-01 to 9999-01-01\n"
           "  --time HH:MM[:SS]  the time of day (default: the current local time of day)\n"
           "  --days N           N days from DATE on (1 to 36600), one tab-separated line\n"
           "                     each: date and time, phase day, age, illumination, caption\n"
           "  --days -N          the N days that end with DATE, newest first\n"
           "  --to DATE2         every day from DATE to DATE2, both included, in either\n"
           "                     direction (newest first when DATE2 comes before DATE)\n"
           "  --json             JSON Lines instead: one object per day, with the true\n"
           "                     sky's figures in \"sky\" (null outside 1800 to 2200)\n"
           "  --sky              the true sky at the instant: illuminated share, age,\n"
           "                     the last new moon and the next principal phases in local\n"
           "                     time, distance and lunation number\n"
           "  --phases           the true principal phases over the days (without --days\n"
           "                     or --to: 30 days from DATE), one line each\n"
           "  --png FILE         write the 135x156 Moon panel as a PNG image; - writes it\n"
           "                     to standard output\n"
           "  --scale 1|2        with --png: device pixels per panel pixel (default 1)\n"
           "  --southern         with --png: the Southern hemisphere view\n"
           "  --seed N           with --png: the star seed (default: the current second)\n"
           "  --ics YEAR         an iCalendar file of the year's true principal phases\n"
           "                     (timed events in UTC, 1800 to 2200) on standard output\n"
           "  --calendar-days    with --ics: all-day events on the calendar model's phase\n"
           "                     days instead (1900 to 9998)\n"
           "  --                 every argument after it is the date\n"
           "  -h, --help         this text\n"
           "  -V, --version      the version\n"
           "\n"
           "The local time zone comes from TZ. Exit status: 0 success; 1 failure (the PNG\n"
           "or standard output could not be written, the clock cannot be read as a local\n"
           "time, or the true sky was asked for outside 1800 to 2200); 2 bad command line.\n";
}

} // namespace norvale::cli
