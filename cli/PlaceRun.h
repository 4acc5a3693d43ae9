#pragma once

// --set-place, and the place a command uses.

#include "options/Options.h"
#include "place/Place.h"

#include <iosfwd>
#include <optional>

namespace norvale::cli {

// --set-place PLACE or none: stores it in the place file; 2 when the place is
// refused, 1 when the file could not be written.
int RunSetPlace(const Options& options, std::ostream& out, std::ostream& err);

// The place of a command: --place, else the stored place, else (when
// timeZoneDefault) the city of the system's time zone. A refused --place sets
// status to 2 with one line on err; a damaged place file gets one line on err
// and is skipped.
std::optional<Place> PlaceFor(const Options& options, bool timeZoneDefault, std::ostream& err,
                              int& status);

} // namespace norvale::cli
