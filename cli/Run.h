#pragma once

#include "core/MoonDay.h"
#include "options/Options.h"
#include "place/Place.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace norvale::cli {

// The Moon panel of a day as the bytes of a PNG image, at 1 or 2 device
// pixels per panel pixel; nullopt when it could not be made.
using PngEncoder = std::function<std::optional<std::vector<std::uint8_t>>(
    const MoonDay& day, bool northern, std::uint32_t starSeed, int scale)>;

// --png --true: the Moon as it is at a local date and time, with the options
// that shape it (--size, --moon-size, --caption, --southern, --zenith-up,
// --scale) and the star seed. The PNG's bytes, or nullopt with a message
// (an instant outside the years of the true sky, no place for --zenith-up).
struct TruePngRequest {
    CivilDate date;
    TimeOfDay time;
    const Options* options = nullptr;
    std::uint32_t starSeed = 0;
    // The observer: --place, the stored place or (for --zenith-up) the time
    // zone's city; absent: the Earth's centre.
    std::optional<Place> place;
};
using TruePngEncoder = std::function<std::optional<std::vector<std::uint8_t>>(
    const TruePngRequest& request, std::string& error)>;

class SkyAnswers;

// What only the full program can do; the plain text program has none of it.
struct FullServices {
    PngEncoder encodePng;                   // --png
    SkyAnswers* sky = nullptr;              // the JSON lines' "sky", --sky, --phases, --ics
    TruePngEncoder encodeTruePng = nullptr; // --png --true
};

// Runs norvale-cli with the arguments after the program name and returns the
// exit status: 0 done, 1 failed (nothing usable written), 2 bad command line
// (one line on err, nothing on out). The PNG goes to its file through a
// temporary file and a rename, or to out for "-".
int Run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
        const FullServices& services);

// Whether a command line needs the full program (the PNG, the JSON lines and
// the calendar): the plain text answers need nothing but the C and C++
// run-time, and the program that prints them starts the full one for the
// rest.
bool NeedsFullProgram(const Options& options);

} // namespace norvale::cli
