// The options of the true picture: --true, --size WxH, --moon-size F,
// --caption and --zenith-up.
#include "options/Detail.h"
#include "options/Options.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace norvale::cli::detail {

namespace {

constexpr std::string_view Program = "norvale-cli: ";
constexpr int MaxWidth = 7680;
constexpr int MaxHeight = 4320;
constexpr int MinSide = 16;

constexpr std::array<TrueOption, 5> Options_{{
    {"--true", false, ""},
    {"--size", true, "WxH, each side 16 to 7680 pixels, at most 7680x4320 in all"},
    {"--moon-size", true, "a fraction from 0.05 to 1 of the shorter side, such as 0.8"},
    {"--caption", false, ""},
    {"--zenith-up", false, ""},
}};

UsageError BadValue(const TrueOption& option, std::string_view value) {
    return UsageError{std::string(Program) + std::string(option.name) + " expects " +
                      std::string(option.form) + ", got " + Quoted(value)};
}

UsageError Message(std::string_view text) {
    return UsageError{std::string(Program) + std::string(text)};
}

// "0.8", "1", ".5": digits with at most one point, no sign or exponent.
std::optional<double> Fraction(std::string_view text) {
    if (text.empty() || text.size() > 12 ||
        text.find_first_not_of("0123456789.") != std::string_view::npos ||
        text.find('.') != text.rfind('.') || text == ".") {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

const TrueOption* FindTrueOption(std::string_view name) {
    for (const TrueOption& option : Options_) {
        if (option.name == name) {
            return &option;
        }
    }
    return nullptr;
}

namespace {

std::optional<UsageError> ApplyTrueOption(const TrueOption& option, std::string_view value,
                                          Options& options) {
    if (option.name == "--true") {
        options.truePicture = true;
    } else if (option.name == "--caption") {
        options.caption = true;
    } else if (option.name == "--zenith-up") {
        options.zenithUp = true;
    } else if (option.name == "--moon-size") {
        const auto fraction = Fraction(value);
        if (!fraction || *fraction < 0.05 || *fraction > 1.0) {
            return BadValue(option, value);
        }
        options.moonSize = *fraction;
    } else {
        const auto x = value.find('x');
        const auto width = x == std::string_view::npos || x > 5
                               ? std::nullopt
                               : detail::ParseDigits(value.substr(0, x));
        const auto height = x == std::string_view::npos || value.size() - x > 6
                                ? std::nullopt
                                : detail::ParseDigits(value.substr(x + 1));
        if (!width || !height || *width < MinSide || *height < MinSide || *width > MaxWidth ||
            *height > MaxWidth || *width * *height > std::uint64_t{MaxWidth} * MaxHeight) {
            return BadValue(option, value);
        }
        options.width = static_cast<int>(*width);
        options.height = static_cast<int>(*height);
    }
    return std::nullopt;
}

} // namespace

std::optional<UsageError> ParseTrueOption(std::span<const std::string_view> args, std::size_t& i,
                                          std::string_view name,
                                          std::optional<std::string_view> value, Options& options,
                                          std::vector<const TrueOption*>& seen) {
    const TrueOption* option = FindTrueOption(name);
    if (option == nullptr) {
        return Message("unknown option " + Quoted(args[i]) + "; see --help");
    }
    if (std::find(seen.begin(), seen.end(), option) != seen.end()) {
        return Message(std::string(option->name) + " given more than once");
    }
    seen.push_back(option);
    if (option->takesValue && !value) {
        if (i + 1 == args.size()) {
            return Message(std::string(option->name) +
                           " needs a value: " + std::string(option->form));
        }
        value = args[++i];
    } else if (!option->takesValue && value) {
        return Message(std::string(option->name) + " takes no value");
    }
    return ApplyTrueOption(*option, value.value_or(std::string_view{}), options);
}

std::optional<UsageError> CheckTrueOptions(const Options& options, bool scaleGiven) {
    const bool sized = options.width > 0;
    const bool any = options.truePicture || sized || options.caption || options.zenithUp ||
                     options.moonSize.has_value();
    if (options.action == Action::png && options.place && !options.truePicture) {
        return Message("--place with --png only applies together with --true");
    }
    if (!any) {
        return std::nullopt;
    }
    if (options.action != Action::png) {
        return Message("--true and its options only apply together with --png FILE");
    }
    if (!options.truePicture) {
        for (const auto& [given, name] :
             {std::pair{sized, "--size"}, std::pair{options.caption, "--caption"},
              std::pair{options.zenithUp, "--zenith-up"},
              std::pair{options.moonSize.has_value(), "--moon-size"}}) {
            if (given) {
                return Message(std::string(name) + " only applies together with --true");
            }
        }
    }
    if (sized && scaleGiven) {
        return Message("--size WxH cannot be combined with --scale");
    }
    if (!sized && (options.caption || options.moonSize.has_value())) {
        return Message(std::string(options.caption ? "--caption" : "--moon-size") +
                       " only applies together with --size WxH");
    }
    if (options.zenithUp && options.southern) {
        return Message("--zenith-up cannot be combined with --southern: the place decides");
    }
    return std::nullopt;
}

} // namespace norvale::cli::detail
