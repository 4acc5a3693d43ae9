// The principal cities of the time-zone database, for --place NAME and the
// place of the system's time zone.
#include "place/Place.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include <unistd.h>

namespace norvale {

namespace {

// "+5230" or "+523000" as degrees; the tables' ISO 6709 form.
std::optional<double> Sexagesimal(std::string_view text, std::size_t degreeDigits) {
    if (text.size() != 1 + degreeDigits + 2 && text.size() != 1 + degreeDigits + 4) {
        return std::nullopt;
    }
    double value = 0.0;
    double unit = 1.0;
    for (std::size_t i = 1; i < text.size();) {
        const std::size_t width = i == 1 ? degreeDigits : 2;
        int part = 0;
        for (std::size_t j = i; j < i + width; ++j) {
            if (text[j] < '0' || text[j] > '9') {
                return std::nullopt;
            }
            part = part * 10 + (text[j] - '0');
        }
        value += part / unit;
        unit *= 60.0;
        i += width;
    }
    if (text[0] == '-') {
        return -value;
    }
    return text[0] == '+' ? std::optional<double>(value) : std::nullopt;
}

// "+5230+01322" into latitude and longitude.
bool ParseIsoCoordinates(std::string_view text, double& latitude, double& longitude) {
    const std::size_t split = text.find_first_of("+-", 1);
    if (split == std::string_view::npos) {
        return false;
    }
    const auto lat = Sexagesimal(text.substr(0, split), 2);
    const auto lon = Sexagesimal(text.substr(split), 3);
    if (!lat || !lon) {
        return false;
    }
    latitude = *lat;
    longitude = *lon;
    return true;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    if (separator == '\t') {
        while (std::getline(in, field, '\t')) {
            fields.push_back(field);
        }
    } else {
        while (in >> field) {
            fields.push_back(field);
        }
    }
    return fields;
}

// Case, spaces and '_' ignored.
std::string Key(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (c == '_' || c == ' ') {
            key += ' ';
        } else {
            key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    return key;
}

std::string_view LastPart(std::string_view zone) {
    const std::size_t slash = zone.rfind('/');
    return slash == std::string_view::npos ? zone : zone.substr(slash + 1);
}

// "Ho_Chi_Minh" from "Asia/Ho_Chi_Minh".
std::string CityOf(std::string_view zone) {
    std::string city(LastPart(zone));
    std::replace(city.begin(), city.end(), '_', ' ');
    return city;
}

} // namespace

std::string ZoneTable::SystemFolder() {
    const char* folder = std::getenv("TZDIR");
    return folder != nullptr && folder[0] == '/' ? folder : "/usr/share/zoneinfo";
}

ZoneTable ZoneTable::Load(const std::string& folder) {
    ZoneTable table;
    std::set<std::string> seen;
    // zone.tab first: it keeps a row for every country's zone, so Oslo stays
    // Oslo where zone1970.tab folds Norway into Berlin's rules.
    for (const char* file : {"/zone.tab", "/zone1970.tab"}) {
        std::ifstream in(folder + file);
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            const std::vector<std::string> f = Fields(line, '\t');
            Row row;
            if (f.size() < 3 || !ParseIsoCoordinates(f[1], row.latitudeDeg, row.longitudeDeg) ||
                !seen.insert(f[2]).second) {
                continue;
            }
            row.zone = f[2];
            table.m_rows.push_back(std::move(row));
        }
    }
    std::ifstream links(folder + "/tzdata.zi");
    std::string line;
    while (std::getline(links, line)) {
        if (line.starts_with("L ")) {
            const std::vector<std::string> f = Fields(line, ' ');
            if (f.size() == 3) {
                table.m_links.emplace_back(f[2], f[1]);
            }
        }
    }
    return table;
}

const ZoneTable::Row* ZoneTable::Find(std::string_view zone) const {
    for (const Row& row : m_rows) {
        if (row.zone == zone) {
            return &row;
        }
    }
    return nullptr;
}

const ZoneTable::Row* ZoneTable::Resolve(std::string_view zone) const {
    const Row* row = Find(zone);
    // A link may name another link; tzdata keeps chains short.
    for (std::size_t hops = 0; row == nullptr && hops < 4; ++hops) {
        const auto link = std::find_if(m_links.begin(), m_links.end(),
                                       [&](const auto& l) { return l.first == zone; });
        if (link == m_links.end()) {
            return nullptr;
        }
        zone = link->second;
        row = Find(zone);
    }
    return row;
}

std::optional<Place> ZoneTable::ByZone(std::string_view zone) const {
    const Row* row = Resolve(zone);
    if (row == nullptr) {
        return std::nullopt;
    }
    return Place{row->latitudeDeg, row->longitudeDeg, CityOf(row->zone), PlaceSource::given};
}

std::variant<Place, PlaceError> ZoneTable::ByName(std::string_view name) const {
    const std::string key = Key(name);
    // A name with a slash is a whole zone name; one without is a city.
    const bool whole = name.find('/') != std::string_view::npos;
    const auto matches = [&](std::string_view zone) {
        return Key(whole ? zone : LastPart(zone)) == key;
    };
    std::vector<std::string> zones;
    const auto add = [&zones](const Row* row) {
        if (row != nullptr && std::find(zones.begin(), zones.end(), row->zone) == zones.end()) {
            zones.push_back(row->zone);
        }
    };
    for (const Row& row : m_rows) {
        if (matches(row.zone)) {
            add(&row);
        }
    }
    for (const auto& link : m_links) {
        if (matches(link.first)) {
            add(Resolve(link.first));
        }
    }
    if (zones.size() == 1) {
        return *ByZone(zones.front());
    }
    if (zones.empty()) {
        return PlaceError{"unknown place " + QuotedPlace(name) +
                          ": give LAT,LON[,NAME] or a time-zone city such as Berlin"};
    }
    std::string list;
    for (const std::string& zone : zones) {
        list += (list.empty() ? "" : ", ") + zone;
    }
    return PlaceError{"the place " + QuotedPlace(name) + " is ambiguous: " + list};
}

std::optional<std::string> SystemZoneName(const std::string& localtimeLink,
                                          const std::string& timezoneFile) {
    // The part of a path after its zoneinfo folder: "Europe/Berlin".
    const auto underZoneinfo = [](std::string_view path) -> std::optional<std::string> {
        const std::size_t at = path.rfind("zoneinfo/");
        if (at == std::string_view::npos) {
            return std::nullopt;
        }
        std::string zone(path.substr(at + 9));
        // Debian's posix/ and right/ folders hold the same zones.
        for (const char* prefix : {"posix/", "right/"}) {
            if (zone.starts_with(prefix)) {
                zone.erase(0, std::string_view(prefix).size());
            }
        }
        return zone;
    };
    if (const char* tz = std::getenv("TZ"); tz != nullptr) {
        std::string_view value(tz);
        if (value.starts_with(':')) {
            value.remove_prefix(1);
        }
        if (value.starts_with('/')) {
            return underZoneinfo(value);
        }
        if (value.empty()) {
            return std::nullopt;
        }
        return std::string(value);
    }
    std::string target(4096, '\0');
    const ssize_t n = ::readlink(localtimeLink.c_str(), target.data(), target.size() - 1);
    if (n > 0) {
        target.resize(static_cast<std::size_t>(n));
        return underZoneinfo(target);
    }
    std::ifstream in(timezoneFile);
    std::string line;
    if (std::getline(in, line) && !line.empty()) {
        return line;
    }
    return std::nullopt;
}

std::optional<Place> PlaceOfTimeZone(const ZoneTable& zones,
                                     const std::optional<std::string>& zoneName) {
    if (!zoneName) {
        return std::nullopt;
    }
    auto place = zones.ByZone(*zoneName);
    if (place) {
        place->source = PlaceSource::timeZone;
    }
    return place;
}

} // namespace norvale
