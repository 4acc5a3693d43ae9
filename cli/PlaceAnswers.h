#pragma once

// The place's answers of the full program: --rise, the place lines of --sky
// and the JSON lines' "place" member, over the sky library.

#include "options/Options.h"
#include "place/PlaceSky.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace norvale::cli {

class PlaceAnswers {
public:
    bool PrintRise(const Place& place, const DayRun& run, std::ostream& out);
    // --sky's lines of the place, added to the true sky's.
    void AddFigures(const Place& place, const CivilDate& date, const TimeOfDay& time,
                    skytext::SkyReport& report);
    std::string JsonOf(const Place& place, const CivilDate& date, const TimeOfDay& time);

private:
    // The place's Moon, kept while the place stays the same.
    PlaceSky& SkyOf(const Place& place);

    std::optional<PlaceSky> m_sky;
};

} // namespace norvale::cli
