#include "options/Options.h"

#include "options/Detail.h"

#include "core/Texts.h"

#include <array>
#include <charconv>
#include <chrono>
#include <limits>
#include <span>
#include <vector>

namespace norvale::cli {
namespace {

using detail::CheckTrueOptions;
using detail::FixedDigits;
using detail::NotAfter;
using detail::ParseDigits;
using detail::ParseTrueOption;
using detail::ToSysDays;
using detail::TrueOption;

constexpr std::string_view Program = "norvale-cli: ";
// The form --date, --to and a date argument must take.
constexpr std::string_view DateForm = "YYYY-MM-DD, a day from 1900-01-01 to 9999-01-01";
static_assert(DateForm.ends_with(kDayRangeText));
// The years --ics takes; the text must change with them.
constexpr std::string_view IcsForm = "a year from 1800 to 9998";
static_assert(FirstIcsYear == 1800 && LastIcsYear == 9998);

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
    place,
    setPlace,
    rise,
    help,
    version
};

struct Spec {
    Id id;
    std::string_view name;
    bool takesValue;
    std::string_view form; // the accepted form, quoted in errors
};

constexpr std::array<Spec, 18> Specs{{
    {Id::date, "--date", true, DateForm},
    {Id::time, "--time", true, "HH:MM or HH:MM:SS (00:00 to 23:59:59)"},
    {Id::days, "--days", true, "a whole number from 1 to 36600, or -1 to -36600"},
    {Id::to, "--to", true, DateForm},
    {Id::json, "--json", false, ""},
    {Id::sky, "--sky", false, ""},
    {Id::phases, "--phases", false, ""},
    {Id::png, "--png", true, "a file name, or - for standard output"},
    {Id::scale, "--scale", true, "1 or 2"},
    {Id::southern, "--southern", false, ""},
    {Id::seed, "--seed", true, "a whole number from 0 to 4294967295"},
    {Id::ics, "--ics", true, IcsForm},
    {Id::calendarDays, "--calendar-days", false, ""},
    {Id::place, "--place", true, detail::kPlaceForm},
    {Id::setPlace, "--set-place", true, detail::kPlaceForm},
    {Id::rise, "--rise", false, ""},
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

// A real day before even the true sky's first day.
UsageError BeforeTheSky(std::string_view what, std::string_view value) {
    return Message(std::string(what) + " must be a day from " + std::string(kFirstRangeDayText) +
                   " (1800-01-01 with --sky or --phases) to " + std::string(kLastRangeDayText) +
                   ", got " + Quoted(value));
}

UsageError DateAloneError(std::string_view value) {
    return Message("the date must be " + std::string(DateForm) + ", got " + Quoted(value));
}

std::optional<std::uint64_t> NumberIn(std::string_view text, std::uint64_t low,
                                      std::uint64_t high) {
    const auto value = ParseDigits(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

// Applies one option with its value (empty for a flag) to options.
std::optional<UsageError> Apply(const Spec& spec, std::string_view value, Options& options) {
    switch (spec.id) {
    case Id::date:
        options.date = ParseDate(value);
        if (!options.date || !InParsedRange(*options.date)) {
            return options.date ? BeforeTheSky(spec.name, value) : BadValue(spec, value);
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
        if (!options.to || !InParsedRange(*options.to)) {
            return options.to ? BeforeTheSky(spec.name, value) : BadValue(spec, value);
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
    case Id::place:
    case Id::setPlace:
        if (value.empty()) {
            return BadValue(spec, value);
        }
        (spec.id == Id::place ? options.place : options.setPlace) = std::string(value);
        break;
    case Id::sky:
    case Id::phases:
    case Id::rise:
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
    const auto given = [&has](std::string_view name) {
        const Spec* spec = FindSpec(name);
        return spec != nullptr && has(spec->id);
    };
    if (auto placed = detail::ResolvePlaceOptions(given, options); placed.decided) {
        return placed.error;
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
            return Message("--ics YEAR --calendar-days needs a year from " +
                           std::to_string(FirstCalendarDaysYear) + " to " +
                           std::to_string(LastIcsYear) + ", got " +
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
    if (options.days && options.date && InAllowedRange(*options.date)) {
        if (auto error = CheckDaysRange(*options.date, *options.days)) {
            return error;
        }
    }
    options.action = Action::show;
    return std::nullopt;
}

} // namespace

std::optional<UsageError> CheckDaysRange(const CivilDate& start, int days) {
    const CivilDate last = AddDays(start, days > 0 ? days - 1 : days + 1);
    if (InAllowedRange(last)) {
        return std::nullopt;
    }
    return Message("--days " + std::to_string(days) + " from " + DateText(start) + " runs past " +
                   std::string(days > 0 ? kLastRangeDayText : kFirstRangeDayText) +
                   "; every day must lie from " + std::string(kDayRangeText));
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

ParseResult ParseOptions(std::span<const std::string_view> args) {
    Options options;
    std::array<bool, Specs.size()> seen{};
    std::vector<const TrueOption*> seenTrue;
    bool optionsEnded = false;
    bool dateAlone = false;
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
            if (!options.date || !InParsedRange(*options.date)) {
                return options.date ? BeforeTheSky("the date", args[i]) : DateAloneError(args[i]);
            }
            dateAlone = true;
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
            if (auto error = ParseTrueOption(args, i, name, value, options, seenTrue)) {
                return *error;
            }
            continue;
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
    if (auto error = CheckTrueOptions(options, seen[static_cast<std::size_t>(Id::scale)])) {
        return *error;
    }
    // Only the true sky's answers take days before the range.
    if (options.action == Action::show || options.action == Action::png) {
        if (options.date && !InAllowedRange(*options.date)) {
            return dateAlone ? DateAloneError(DateText(*options.date))
                             : BadValue(*FindSpec("--date"), DateText(*options.date));
        }
        if (options.to && !InAllowedRange(*options.to)) {
            return BadValue(*FindSpec("--to"), DateText(*options.to));
        }
    }
    return options;
}

} // namespace norvale::cli
