// Arbitrary command lines for norvale-cli: the input is split at NUL bytes
// into arguments. Whatever the arguments, the parser either returns options
// that keep every documented limit or one printable error line.

#include "options/Options.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using norvale::cli::Action;
using norvale::cli::Options;
using norvale::cli::UsageError;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The true sky's answers (the rise lines among them) take days from 1800;
// the model's from the range's first day.
bool InItsRange(const Options& options, const norvale::cli::CivilDate& date) {
    const bool sky = options.action == Action::sky || options.action == Action::phases ||
                     options.action == Action::rise;
    return sky ? norvale::cli::InParsedRange(date) : norvale::cli::InAllowedRange(date);
}

void CheckOptions(const Options& options) {
    // --help and --version are answered before anything else is checked: the
    // rest of the line may hold anything the parser took on its way.
    if (options.action == Action::help || options.action == Action::version) {
        return;
    }
    if (options.date) {
        Check(InItsRange(options, *options.date));
        Check(norvale::cli::ParseDate(norvale::cli::DateText(*options.date)) == options.date);
    }
    if (options.time) {
        const auto& t = *options.time;
        Check(t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
              t.second <= 59);
        Check(norvale::cli::ParseTime(norvale::cli::TimeText(t)) == options.time);
    }
    if (options.days) {
        // Never 0: forwards 1 to MaxDays, or back as many.
        Check(*options.days != 0 && *options.days >= -norvale::cli::MaxDays &&
              *options.days <= norvale::cli::MaxDays);
        Check(!options.to);
        // --phases prints what of its days lies in the true sky's years.
        if (options.date && options.action == Action::show) {
            Check(!norvale::cli::CheckDaysRange(*options.date, *options.days));
        }
    }
    if (options.to) {
        Check(InItsRange(options, *options.to));
    }
    Check(options.scale == 1 || options.scale == 2);
    switch (options.action) {
    case Action::png:
        // A file name, or "-" alone; never an option forgotten after --png.
        Check(!options.pngPath.empty() &&
              (options.pngPath == "-" || options.pngPath.front() != '-'));
        break;
    case Action::ics:
        Check(options.icsYear >= norvale::cli::FirstIcsYear &&
              options.icsYear <= norvale::cli::LastIcsYear);
        Check(!options.calendarDays || options.icsYear >= norvale::cli::FirstCalendarDaysYear);
        break;
    case Action::show:
    case Action::sky:
    case Action::phases:
    case Action::rise:
        Check(options.pngPath.empty() && !options.southern && !options.seed && options.scale == 1 &&
              !options.calendarDays);
        Check(options.action != Action::sky || (!options.days && !options.to && !options.json));
        break;
    case Action::help:
    case Action::version:
    case Action::setPlace:
        break;
    }
}

void CheckError(const UsageError& error) {
    Check(error.message.starts_with("norvale-cli: "));
    for (const char c : error.message) {
        const auto u = static_cast<unsigned char>(c);
        Check(u >= 0x20 && u < 0x7f); // one printable line, whatever was typed
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    std::size_t start = 0;
    while (start <= text.size() && args.size() < 64) {
        const std::size_t end = text.find('\0', start);
        if (end == std::string_view::npos) {
            args.push_back(text.substr(start));
            break;
        }
        args.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (size == 0) {
        args.clear();
    }

    const norvale::cli::ParseResult result = norvale::cli::ParseOptions(args);
    if (const auto* options = std::get_if<Options>(&result)) {
        CheckOptions(*options);
    } else {
        CheckError(std::get<UsageError>(result));
    }
    return 0;
}
