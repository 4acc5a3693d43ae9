#pragma once

#include "options/Options.h"
#include "place/Place.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace norvale::cli {

// The true sky's answers of norvale-cli (docs/sky.md): the "sky" member of
// the JSON lines, --sky, --phases and the calendar at the true instants. Only
// the full program has them; the program that prints plain text never links
// the astronomy library, because it only knows this interface.
class SkyAnswers {
public:
    // Defined here, so that only the full program, which makes the answers,
    // links their code and the astronomy library behind it.
    virtual ~SkyAnswers() = default;

    // The value of a JSON line's "sky" member for a local date and time: an
    // object, or null outside the years the figures are given for.
    virtual std::string JsonOf(const CivilDate& date, const TimeOfDay& time) = 0;
    // --sky: the figures at one local instant as readable lines, local times
    // with the zone's abbreviation, and with a place its lines after them (the
    // place, the local day's rise, transit and set, the Moon's altitude,
    // azimuth and bright limb at the instant). False (nothing printed)
    // outside the years.
    virtual bool PrintFigures(const CivilDate& date, const TimeOfDay& time, const Place* place,
                              std::ostream& out) = 0;
    // --phases: the principal phases over the days of run that lie in the
    // years, one line each, in the run's direction. When part of the days
    // lies outside, outside says which (one line without the program's
    // name). False (nothing printed) when no part of the days lies inside.
    virtual bool PrintPhases(const DayRun& run, std::ostream& out, std::string& outside) = 0;
    // --ics YEAR: timed events at the true instants in UTC. False (nothing
    // written) outside the years.
    virtual bool WriteCalendar(int year, std::ostream& out) = 0;
    // --rise: a line naming the place, then one line a day of run (the day's
    // rise, transit and set in local time). False (nothing printed) when a
    // day lies outside the years.
    virtual bool PrintRise(const Place& place, const DayRun& run, std::ostream& out) = 0;
    // The value of a JSON line's "place" member (an object).
    virtual std::string PlaceJsonOf(const Place& place, const CivilDate& date,
                                    const TimeOfDay& time) = 0;
    // "1800 to 2200": the years the figures are given for, for messages.
    virtual std::string YearsText() const = 0;
};

// The answers over libnova (sky/).
std::unique_ptr<SkyAnswers> MakeSkyAnswers();

} // namespace norvale::cli
