// --place, --set-place and --rise: which options go with them.
#include "options/Detail.h"
#include "options/Options.h"

#include <array>

namespace norvale::cli::detail {

namespace {

constexpr std::array<std::string_view, 18> kAllOptions = {
    "--date",          "--time",  "--days",      "--to",       "--json", "--sky",
    "--phases",        "--png",   "--scale",     "--southern", "--seed", "--ics",
    "--calendar-days", "--place", "--set-place", "--rise",     "--help", "--version"};

UsageError Refused(std::string_view option, std::string_view other) {
    return UsageError{"norvale-cli: " + std::string(option) + " cannot be combined with " +
                      std::string(other)};
}

} // namespace

PlaceResolution ResolvePlaceOptions(const std::function<bool(std::string_view)>& given,
                                    Options& options) {
    // --set-place stands alone.
    if (given("--set-place")) {
        for (const std::string_view other : kAllOptions) {
            if (other != "--set-place" && given(other)) {
                return {true, Refused("--set-place PLACE", other)};
            }
        }
        options.action = Action::setPlace;
        return {true, std::nullopt};
    }
    if (given("--rise")) {
        // One line a day: the day's events need neither a time of day nor
        // another kind of answer.
        for (const std::string_view other :
             {"--time", "--json", "--sky", "--phases", "--png", "--scale", "--southern", "--seed",
              "--ics", "--calendar-days"}) {
            if (given(other)) {
                return {true, Refused("--rise", other)};
            }
        }
        if (given("--days") && given("--to")) {
            return {true, UsageError{"norvale-cli: --days N cannot be combined with --to DATE"}};
        }
        if (options.days && options.date) {
            if (auto error = CheckDaysRange(*options.date, *options.days)) {
                return {true, error};
            }
        }
        options.action = Action::rise;
        return {true, std::nullopt};
    }
    // With --png, --place draws the true Moon from the place (TrueOptions.cpp
    // refuses it without --true).
    if (given("--place") && !given("--sky") && !given("--json") && !given("--png") &&
        !given("--help") && !given("--version")) {
        return {true, UsageError{"norvale-cli: --place only applies together with --rise, "
                                 "--sky, --json or --png --true"}};
    }
    return {};
}

} // namespace norvale::cli::detail
