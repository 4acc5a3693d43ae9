// Prints the sky figures for UTC instants (Unix seconds), one per line, for
// the accuracy script: the instants come as arguments, or one a line on
// standard input when there are none.
//
//   seconds illumination% age_days previous_new next_new next_first_quarter
//   next_full next_last_quarter distance_km lunation delta_t_seconds
//
// An instant outside the documented range prints "seconds none".

#include "sky/Sky.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// The decimal year that the library's Delta T is taken at, near enough here.
constexpr double kSecondsPerYear = 365.2425 * 86400.0;

bool Print(const std::string& text) {
    char* end = nullptr;
    const long long seconds = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0') {
        std::fprintf(stderr, "sky_probe: not a number of seconds: %s\n", text.c_str());
        return false;
    }
    const auto figures = norvale::sky::SkyAt(seconds);
    if (!figures) {
        std::printf("%lld none\n", seconds);
        return true;
    }
    std::printf(
        "%lld %.17g %.17g %" PRId64 " %" PRId64 " %" PRId64 " %" PRId64 " %" PRId64
        " %.17g %d %.17g\n",
        seconds, figures->illuminationPercent, figures->ageDays, figures->previousNewMoon,
        figures->nextNewMoon, figures->nextFirstQuarter, figures->nextFullMoon,
        figures->nextLastQuarter, figures->distanceKm, figures->lunation,
        norvale::sky::DeltaTSeconds(1970.0 + static_cast<double>(seconds) / kSecondsPerYear));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bool ok = true;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            ok = Print(argv[i]) && ok;
        }
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty()) {
                ok = Print(line) && ok;
            }
        }
    }
    return ok ? 0 : 1;
}
