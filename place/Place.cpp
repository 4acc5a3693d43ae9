#include "place/Place.h"

#include "core/Texts.h"

#include <charconv>
#include <cmath>

namespace norvale {

namespace {

// A decimal number: an optional sign, digits, and an optional fraction. No
// exponents, no "inf" or "nan", and the C locale's decimal point whatever the
// process locale says.
std::optional<double> DecimalNumber(std::string_view text) {
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || digits > 20) {
        return std::nullopt;
    }
    const std::string_view number = text[0] == '+' ? text.substr(1) : text;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{} || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

// One coordinate: a signed number, or an unsigned one followed by one of the
// two letters of its axis ("52.52N", "13.4w").
std::optional<double> Coordinate(std::string_view text, char positive, char negative) {
    if (!text.empty()) {
        const char last = static_cast<char>(text.back() & ~0x20); // upper case
        if (last == positive || last == negative) {
            const std::string_view number = text.substr(0, text.size() - 1);
            if (number.empty() || number[0] == '+' || number[0] == '-') {
                return std::nullopt;
            }
            const auto value = DecimalNumber(number);
            if (!value) {
                return std::nullopt;
            }
            return last == positive ? *value : -*value;
        }
    }
    return DecimalNumber(text);
}

bool Printable(std::string_view text) {
    for (const char c : text) {
        if (c < 0x20 || c > 0x7e) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string QuotedPlace(std::string_view text) {
    constexpr std::size_t kShown = 40;
    return "'" + PrintableText(text.substr(0, kShown)) + (text.size() > kShown ? "...'" : "'");
}

std::string CoordinatesText(double latitudeDeg, double longitudeDeg) {
    return FixedText(std::fabs(latitudeDeg), 3) + (latitudeDeg < 0.0 ? "S " : "N ") +
           FixedText(std::fabs(longitudeDeg), 3) + (longitudeDeg < 0.0 ? "W" : "E");
}

std::string PlaceTitle(const Place& place) {
    switch (place.source) {
    case PlaceSource::given:
        return place.name + ", given";
    case PlaceSource::stored:
        return place.name + ", stored";
    case PlaceSource::timeZone:
        return place.name + ", from the time zone";
    }
    return place.name;
}

std::optional<std::variant<Place, PlaceError>> ParseCoordinates(std::string_view text) {
    const std::size_t first = text.find(',');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t second = text.find(',', first + 1);
    const std::string_view latText = text.substr(0, first);
    const std::string_view lonText = text.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
    const auto lat = Coordinate(latText, 'N', 'S');
    const auto lon = Coordinate(lonText, 'E', 'W');
    if (!lat || !lon) {
        return std::nullopt;
    }
    if (*lat < -90.0 || *lat > 90.0 || *lon < -180.0 || *lon > 180.0) {
        return PlaceError{"the place " + QuotedPlace(text) +
                          " is out of range: latitude -90 to 90, longitude -180 to 180"};
    }
    Place place;
    place.latitudeDeg = *lat;
    place.longitudeDeg = *lon;
    if (second != std::string_view::npos) {
        place.name = std::string(text.substr(second + 1));
        if (place.name.empty() || place.name.size() > 100 || !Printable(place.name)) {
            return PlaceError{"the place's name in " + QuotedPlace(text) +
                              " must be 1 to 100 printable ASCII characters"};
        }
    } else {
        place.name = CoordinatesText(*lat, *lon);
    }
    return place;
}

std::variant<Place, PlaceError> ParsePlace(std::string_view text, const ZoneTable& zones) {
    if (auto coordinates = ParseCoordinates(text)) {
        return *coordinates;
    }
    return zones.ByName(text);
}

} // namespace norvale
