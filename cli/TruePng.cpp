#include "cli/TruePng.h"

#include "core/Texts.h"
#include "sky/LocalTime.h"
#include "sky/MoonOrientation.h"
#include "sky/Sky.h"
#include "truemoon/SkyView.h"
#include "truemoon/TruePicture.h"

#include <fontconfig/fontconfig.h>

#include <ctime>
#include <utility>

namespace norvale::cli {

namespace {

std::string Two(int value) {
    std::string text = std::to_string(value);
    if (value < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

// "09 Dec 00:51", local time, English month names whatever the locale.
std::string ShortLocalText(std::int64_t seconds) {
    static constexpr std::array<const char*, 12> Months = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) {
        ::gmtime_r(&t, &local);
    }
    return Two(local.tm_mday) + ' ' + Months[static_cast<std::size_t>(local.tm_mon) % 12] + ' ' +
           Two(local.tm_hour) + ':' + Two(local.tm_min);
}

} // namespace

std::array<std::string, 3> TrueSkyLines(std::int64_t utcSeconds, double illuminatedFraction) {
    std::array<std::string, 3> lines{FixedText(illuminatedFraction * 100.0, 1) + "% illuminated",
                                     "", ""};
    const auto figures = sky::SkyAt(utcSeconds);
    if (!figures) {
        return lines;
    }
    lines[1] = "Age " + FixedText(figures->ageDays, 2) + " days";
    std::pair<std::int64_t, const char*> next{figures->nextNewMoon, "New Moon"};
    for (const auto& phase : {std::pair{figures->nextFirstQuarter, "First Quarter"},
                              std::pair{figures->nextFullMoon, "Full Moon"},
                              std::pair{figures->nextLastQuarter, "Last Quarter"}}) {
        if (phase.first < next.first) {
            next = phase;
        }
    }
    lines[2] = std::string(next.second) + ' ' + ShortLocalText(next.first);
    return lines;
}

std::optional<std::vector<std::uint8_t>> EncodeTruePng(const TruePngRequest& request,
                                                       std::string& error) {
    const Options& options = *request.options;
    const auto utc =
        sky::LocalToUtcSeconds(request.date.year, request.date.month, request.date.day,
                               request.time.hour, request.time.minute, request.time.second);
    std::optional<sky::Site> place;
    if (request.place) {
        place = sky::Site{request.place->latitudeDeg, request.place->longitudeDeg, 0.0};
    }
    if (options.zenithUp && !place) {
        error = "--zenith-up needs the observer's place: --place PLACE, or a place stored with "
                "--set-place";
        return std::nullopt;
    }
    const auto aspect = utc ? sky::MoonAspectAt(*utc, place) : std::nullopt;
    if (!aspect) {
        error = "the true Moon is drawn for the years 1800 to 2200 only";
        return std::nullopt;
    }
    const MoonView view = ViewOf(*aspect, options.zenithUp   ? aspect->parallacticAngle
                                          : options.southern ? 180.0
                                                             : 0.0);
    const TrueLayout layout =
        options.width > 0
            ? SizedTrueLayout(options.width, options.height,
                              options.moonSize.value_or(DefaultMoonSize), options.caption)
            : PanelTrueLayout(options.scale);
    std::array<std::string, 3> lines;
    if (layout.textScale > 0.0) {
        lines = TrueSkyLines(*utc, aspect->illuminatedFraction);
    }
    std::vector<std::uint8_t> bytes =
        TruePicturePng(layout, view, aspect->SizeScale(), request.starSeed, lines);
    if (layout.textScale > 0.0) {
        // The font lookup is done for this run (as for the panel).
        FcFini();
    }
    if (bytes.empty()) {
        error = "cannot draw the true Moon";
        return std::nullopt;
    }
    return bytes;
}

} // namespace norvale::cli
