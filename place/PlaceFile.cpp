// The stored place beside the settings file, and the place used when none is
// given.
#include "place/Place.h"

#include "core/Texts.h"
#include "settings/Settings.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <span>

namespace norvale {

namespace {

constexpr const char* kPlaceFileName = "place";
constexpr const char* kNone = "none";
// A line of the file is far shorter; anything longer is damaged.
constexpr std::size_t kMaxFileSize = 256;

} // namespace

std::optional<std::string> PlaceFilePath() {
    const std::optional<std::string> folder = SettingsFolderPath();
    if (!folder) {
        return std::nullopt;
    }
    return *folder + kPlaceFileName;
}

std::string PlaceFileLine(const std::optional<Place>& place) {
    if (!place) {
        return kNone;
    }
    // Six decimals are about 0.1 m; the name follows the second comma.
    return FixedText(place->latitudeDeg, 6) + ',' + FixedText(place->longitudeDeg, 6) + ',' +
           place->name;
}

std::variant<std::monostate, Place, PlaceError> LoadStoredPlace() {
    const std::optional<std::string> path = PlaceFilePath();
    if (!path) {
        return std::monostate{};
    }
    FileResult why;
    FileDescriptor file = OpenForReading(*path, PrivateFilePolicy(), &why);
    if (!file.IsOpen()) {
        if (why.error == ENOENT) {
            return std::monostate{};
        }
        return PlaceError{"cannot read the place file: " + PrintableText(why.message)};
    }
    std::array<std::uint8_t, kMaxFileSize + 1> buffer{};
    const auto [count, failed] = ReadUpTo(file.Get(), buffer);
    std::string text(reinterpret_cast<const char*>(buffer.data()), count);
    if (failed) {
        return PlaceError{"cannot read the place file " + *path};
    }
    const bool oneLine =
        count <= kMaxFileSize && text.ends_with('\n') && text.find('\n') == text.size() - 1;
    if (oneLine) {
        text.pop_back();
        if (text == kNone) {
            return std::monostate{};
        }
        if (auto parsed = ParseCoordinates(text)) {
            if (auto* place = std::get_if<Place>(&*parsed)) {
                place->source = PlaceSource::stored;
                return *place;
            }
        }
    }
    return PlaceError{"the place file " + *path +
                      " is damaged (it should hold one line, LAT,LON,NAME or none)"};
}

FileResult SavePlace(const std::optional<Place>& place) {
    const std::optional<std::string> path = PlaceFilePath();
    if (!path) {
        FileResult result;
        result.message = "neither XDG_CONFIG_HOME nor HOME names an absolute folder";
        return result;
    }
    if (FileResult made = MakeFolders(*SettingsFolderPath(), PrivateFilePolicy()); !made.ok) {
        return made;
    }
    const std::string line = PlaceFileLine(place) + '\n';
    return ReplaceFile(*path,
                       std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()),
                       PrivateFilePolicy());
}

std::optional<Place> DefaultPlace(std::string* warning) {
    auto stored = LoadStoredPlace();
    if (auto* place = std::get_if<Place>(&stored)) {
        return *place;
    }
    if (auto* error = std::get_if<PlaceError>(&stored); error != nullptr && warning != nullptr) {
        *warning = error->message;
    }
    return PlaceOfTimeZone(ZoneTable::Load(ZoneTable::SystemFolder()), SystemZoneName());
}

} // namespace norvale
