#pragma once

// The Moon's day at the user's place, as texts: rise, transit and set of a
// local day (TZ decides the zone), and where the Moon stands at an instant.
// Shared by norvale-cli and the window's tooltip. Plain C++, no Qt.

#include "core/DateValue.h"
#include "place/Place.h"
#include "sky/MoonPlace.h"
#include "skytext/SkyText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace norvale {

// One place's Moon over many days: neighbouring days share their positions.
class PlaceSky {
public:
    explicit PlaceSky(const Place& place);

    const Place& GetPlace() const { return m_place; }
    sky::Observer GetObserver() const;
    // The events of a local calendar day, from its midnight to the next
    // (23 or 25 hours on a daylight-saving day); nullopt when the day cannot
    // be placed or lies outside 1800 to 2200.
    std::optional<sky::MoonEvents> DayEvents(int year, int month, int day);
    // The Moon at an instant; nullopt outside 1800 to 2200.
    std::optional<sky::MoonInSky> At(std::int64_t utcSeconds) const;

private:
    Place m_place;
    sky::MoonTrack m_track;
};

// The lines of a day's events, as label and value: "Moonrise" "01:23 CET"
// (or "none this day", or "up all day" in place of rise and set), "Transit"
// "08:45 CET at 31.2 degrees", "Moonset" "14:02 CET"; two events of a kind
// are joined with "and".
std::vector<skytext::SkyLine> DayEventLines(const sky::MoonEvents& events);
// The figures at an instant: "Altitude" "12.3 degrees, azimuth 145.2", and
// "Bright limb" "250.1 degrees from north, 310.2 from the zenith".
std::vector<skytext::SkyLine> InstantLines(const sky::MoonInSky& moon);
// --rise: "2026-12-07<TAB>rise 01:23 CET<TAB>transit 08:45 CET at 31.2 degrees<TAB>set 14:02 CET".
std::string RiseLine(const std::string& dateText, const sky::MoonEvents& events);

// "Berlin, from the time zone, 52.517N 13.400E"
std::string PlaceLineText(const Place& place);
// The lines the picture's tooltip adds after the true sky's, each after a
// newline, in the form of skytext::ListText:
//
//   Berlin, from the time zone
//   Moonrise: 06:51 CET
//   Transit: 10:37 CET at 12.2 degrees
//   Moonset: 14:15 CET
//
// The place is the stored one (norvale-cli --set-place), else the principal
// city of the time zone (its tables read once a zone); without either, one
// line says how to set one. A damaged place file is reported once on stderr
// and skipped. Empty for a day that cannot be placed or lies outside 1800 to
// 2200.
std::string PlaceSkyText(const DateValue& shown);

// What to do when there is no place.
inline constexpr const char* kNoPlaceHint =
    "No place for moonrise and moonset: give --place LAT,LON or a city, or store one with "
    "norvale-cli --set-place PLACE";

} // namespace norvale
