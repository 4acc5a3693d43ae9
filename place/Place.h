#pragma once

// The user's place on the Earth: given on the command line, stored beside the
// settings file, or the principal city of the system's time zone. Plain C++,
// no Qt.

#include "atomicfile/AtomicFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace norvale {

enum class PlaceSource { given, stored, timeZone };

struct Place {
    double latitudeDeg = 0.0;  // north positive
    double longitudeDeg = 0.0; // east positive
    std::string name;          // printable ASCII
    PlaceSource source = PlaceSource::given;

    friend bool operator==(const Place&, const Place&) = default;
};

// "Berlin, from the time zone", "Oslo, stored", "Home, given": the place and
// where it came from, for the lines that show its figures.
std::string PlaceTitle(const Place& place);
// "52.520N 13.405E"
std::string CoordinatesText(double latitudeDeg, double longitudeDeg);

// The user's text for a message: quoted, at most 40 characters, every byte
// that is not printable ASCII shown as '?'.
std::string QuotedPlace(std::string_view text);

// A refusal, one line without the program's name ("unknown place 'Xyz'").
struct PlaceError {
    std::string message;
};

// "LAT,LON[,NAME]" in decimal degrees (north and east positive, or with N, S,
// E, W after the number: "52.52N,13.40E"); nullopt when the text is not of
// that form, an error when it is but a number is out of range or the name is
// not printable.
std::optional<std::variant<Place, PlaceError>> ParseCoordinates(std::string_view text);

// The cities of the time-zone database: zone.tab (one row per country zone),
// then zone1970.tab, and the old names of tzdata.zi's link lines.
class ZoneTable {
public:
    // Reads the tables from folder (the system's: TZDIR, else
    // /usr/share/zoneinfo). Missing files leave the table short, not broken.
    static ZoneTable Load(const std::string& folder);
    static std::string SystemFolder();

    // A zone's principal city by the zone's exact name ("Europe/Oslo") or an
    // old name linked to it ("Asia/Calcutta").
    std::optional<Place> ByZone(std::string_view zone) const;
    // A city named loosely: "Berlin", "europe/oslo", "ho chi minh" (case,
    // spaces and '_' alike); an error naming the input, and the candidates
    // when several zones match.
    std::variant<Place, PlaceError> ByName(std::string_view name) const;

private:
    struct Row {
        std::string zone;
        double latitudeDeg = 0.0;
        double longitudeDeg = 0.0;
    };
    const Row* Find(std::string_view zone) const;
    // The row of a zone or of the zone an old name links to.
    const Row* Resolve(std::string_view zone) const;

    std::vector<Row> m_rows;
    std::vector<std::pair<std::string, std::string>> m_links; // old name, zone
};

// A place as --place and --set-place take it: coordinates, or a city of the
// zone table. Source given.
std::variant<Place, PlaceError> ParsePlace(std::string_view text, const ZoneTable& zones);

// The zone the C library uses, by name: TZ (a zone name or a path under a
// zoneinfo folder), else where the link localtimeLink points, else the first
// line of timezoneFile. nullopt for UTC, a POSIX rule string or no zone.
std::optional<std::string> SystemZoneName(const std::string& localtimeLink = "/etc/localtime",
                                          const std::string& timezoneFile = "/etc/timezone");
// The principal city of that zone (source timeZone), if the table has it.
std::optional<Place> PlaceOfTimeZone(const ZoneTable& zones,
                                     const std::optional<std::string>& zoneName);

// The place file: "$XDG_CONFIG_HOME/Norvale/place", one line
// "LAT,LON,NAME" or "none", read and written through the settings file's safe
// rules (atomicfile/SafePath.h).
std::optional<std::string> PlaceFilePath();
// What the file says: nothing (no file, or "none"), a place (source stored),
// or why it is damaged or could not be read.
std::variant<std::monostate, Place, PlaceError> LoadStoredPlace();
// The file's line for a place, or "none".
std::string PlaceFileLine(const std::optional<Place>& place);
// Writes the file (making the folder, private, first); none stores "none".
FileResult SavePlace(const std::optional<Place>& place);

// The place the window and --rise/--sky use: the stored one, else the time
// zone's city; a damaged place file is described in warning (one line) and
// skipped.
std::optional<Place> DefaultPlace(std::string* warning);

} // namespace norvale
