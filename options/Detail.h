#pragma once

// Small parsers and calendar helpers shared by the option parser's files.

#include "options/Options.h"

#include <charconv>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norvale::cli::detail {

// Digits only (no sign, no spaces), parsed into an unsigned 64-bit number;
// nullopt on anything else or on overflow.
inline std::optional<std::uint64_t> ParseDigits(std::string_view text) {
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
inline std::optional<int> FixedDigits(std::string_view text, std::size_t width) {
    if (text.size() != width) {
        return std::nullopt;
    }
    const auto value = ParseDigits(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

inline std::chrono::sys_days ToSysDays(const CivilDate& date) {
    using namespace std::chrono;
    return sys_days{year{date.year} / month{static_cast<unsigned>(date.month)} /
                    day{static_cast<unsigned>(date.day)}};
}

// A non-negative number with leading zeros to at least `width` digits.
inline std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (digits.size() < width) {
        digits.insert(0, width - digits.size(), '0');
    }
    return digits;
}

// --place and --set-place: the form quoted in errors.
inline constexpr std::string_view kPlaceForm =
    "LAT,LON[,NAME] in degrees (52.52,13.40 or 52.52N,13.40E) or a time-zone city such as "
    "Berlin";

// What --place, --set-place and --rise decide about a command line: nothing
// (the other options decide), or its action, or an error.
struct PlaceResolution {
    bool decided = false;
    std::optional<UsageError> error;
};
// given says whether an option (by its long name) is on the command line.
PlaceResolution ResolvePlaceOptions(const std::function<bool(std::string_view)>& given,
                                    Options& options);

inline bool NotAfter(const CivilDate& a, const CivilDate& b) {
    return ToSysDays(a) <= ToSysDays(b);
}

// The options of the true picture (--true, --size, --moon-size, --caption,
// --zenith-up), parsed apart from the others (TrueOptions.cpp).
struct TrueOption {
    std::string_view name;
    bool takesValue = false;
    std::string_view form; // the accepted form, quoted in errors
};
const TrueOption* FindTrueOption(std::string_view name);
// Parses one of them at args[i] (its value after '=' or in the next
// argument, which i then passes): an error for an unknown option, one given
// twice (seen holds those read before) or a bad value.
std::optional<UsageError> ParseTrueOption(std::span<const std::string_view> args, std::size_t& i,
                                          std::string_view name,
                                          std::optional<std::string_view> value, Options& options,
                                          std::vector<const TrueOption*>& seen);
// Checks them against the action once every option is read: they need --png
// and --true, and --true takes neither --scale with --size nor --southern
// with --zenith-up.
std::optional<UsageError> CheckTrueOptions(const Options& options, bool scaleGiven);

} // namespace norvale::cli::detail
