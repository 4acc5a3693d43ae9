#include "cli/PlaceRun.h"

#include "core/Texts.h"

#include <ostream>

namespace norvale::cli {

namespace {

std::variant<Place, PlaceError> Resolve(const std::string& text) {
    return ParsePlace(text, ZoneTable::Load(ZoneTable::SystemFolder()));
}

} // namespace

int RunSetPlace(const Options& options, std::ostream& out, std::ostream& err) {
    const std::string& text = options.setPlace.value_or("none");
    std::optional<Place> place;
    if (text != "none") {
        auto resolved = Resolve(text);
        if (const auto* error = std::get_if<PlaceError>(&resolved)) {
            err << "norvale-cli: --set-place: " << error->message << '\n';
            return 2;
        }
        place = std::get<Place>(resolved);
    }
    const FileResult saved = SavePlace(place);
    if (!saved.ok) {
        err << "norvale-cli: cannot store the place: " << PrintableText(saved.message) << '\n';
        return 1;
    }
    if (place) {
        out << "Stored place: " << place->name << ", "
            << CoordinatesText(place->latitudeDeg, place->longitudeDeg) << '\n';
    } else {
        out << "Stored place: none (the time zone's city is used)\n";
    }
    return 0;
}

std::optional<Place> PlaceFor(const Options& options, bool timeZoneDefault, std::ostream& err,
                              int& status) {
    if (options.place) {
        auto resolved = Resolve(*options.place);
        if (const auto* error = std::get_if<PlaceError>(&resolved)) {
            err << "norvale-cli: --place: " << error->message << '\n';
            status = 2;
            return std::nullopt;
        }
        return std::get<Place>(resolved);
    }
    if (timeZoneDefault) {
        std::string warning;
        auto place = DefaultPlace(&warning);
        if (!warning.empty()) {
            err << "norvale-cli: " << warning << '\n';
        }
        return place;
    }
    // JSON lines take a stored place but never look up the time zone.
    auto stored = LoadStoredPlace();
    if (const auto* error = std::get_if<PlaceError>(&stored)) {
        err << "norvale-cli: " << error->message << '\n';
    }
    if (auto* place = std::get_if<Place>(&stored)) {
        return *place;
    }
    return std::nullopt;
}

} // namespace norvale::cli
