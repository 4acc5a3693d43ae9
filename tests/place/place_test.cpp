#include "place/Place.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace norvale {
namespace {

struct PlaceCase {
    const char* text;
    const char* name; // nullptr: refused
    double latitude = 0.0;
    double longitude = 0.0;
    const char* error = ""; // a part of the refusal
};

// Coordinates in both forms, and names found the loose way; each refusal
// names the input. Faults caught: a sign lost with N/S/E/W, a locale's
// decimal comma, a range not checked, a name matched with case or '_', an old
// name not followed through tzdata.zi's links, zone1970.tab read before
// zone.tab (Oslo would be Berlin).
TEST(Place, ParsesCoordinatesAndTimeZoneCities) {
    const ZoneTable zones = ZoneTable::Load("/usr/share/zoneinfo");
    const PlaceCase cases[] = {
        {"52.52,13.40,Home", "Home", 52.52, 13.40},
        {"-33.87,151.21", "33.870S 151.210E", -33.87, 151.21},
        {"52.52N,13.40E", "52.520N 13.400E", 52.52, 13.40},
        {"33.9s,18.4w,Somewhere, far", "Somewhere, far", -33.9, -18.4},
        {"90,-180", "90.000N 180.000W", 90.0, -180.0},
        {"Berlin", "Berlin", 52.5, 13.366666666666667},
        {"europe/oslo", "Oslo", 59.916666666666664, 10.75},
        {"ho chi minh", "Ho Chi Minh", 10.75, 106.66666666666667},
        {"Ho_Chi_Minh", "Ho Chi Minh", 10.75, 106.66666666666667},
        {"Asia/Calcutta", "Kolkata", 22.533333333333335, 88.36666666666666},
        {"Kiritimati", "Kiritimati", 1.8666666666666667, -157.33333333333334},
        {"90.5,0", nullptr, 0, 0, "'90.5,0' is out of range"},
        {"10,180.01", nullptr, 0, 0, "out of range"},
        {"52,5 13", nullptr, 0, 0, "unknown place '52,5 13'"},
        {"-52N,13E", nullptr, 0, 0, "unknown place"},
        {"1e1,5", nullptr, 0, 0, "unknown place"},
        {"Atlantis", nullptr, 0, 0, "unknown place 'Atlantis'"},
        {"10,10,bad\tname", nullptr, 0, 0, "printable"},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ParsePlace(c.text, zones);
        if (c.name == nullptr) {
            ASSERT_TRUE(std::holds_alternative<PlaceError>(parsed));
            EXPECT_NE(std::get<PlaceError>(parsed).message.find(c.error), std::string::npos)
                << std::get<PlaceError>(parsed).message;
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Place>(parsed)) << std::get<PlaceError>(parsed).message;
        const Place& place = std::get<Place>(parsed);
        EXPECT_EQ(place.name, c.name);
        EXPECT_DOUBLE_EQ(place.latitudeDeg, c.latitude);
        EXPECT_DOUBLE_EQ(place.longitudeDeg, c.longitude);
    }
}

// Decoy tables: two zones with the same city are ambiguous and both are
// named; a link to a link is followed.
TEST(Place, NamesTheCandidatesOfAnAmbiguousCity) {
    const test::TempFolder folder;
    std::ofstream(folder.Path() / "zone.tab") << "# decoy\nXA\t+1000+02000\tAlpha/Springfield\n"
                                                 "XB\t-1000-02000\tBeta/Springfield\n";
    std::ofstream(folder.Path() / "zone1970.tab") << "XC\t+0100+00200\tGamma/Town\n";
    std::ofstream(folder.Path() / "tzdata.zi") << "L Gamma/Town Old/Town\nL Old/Town Older/Town\n";
    const ZoneTable zones = ZoneTable::Load(folder.Path().string());
    const auto ambiguous = zones.ByName("springfield");
    ASSERT_TRUE(std::holds_alternative<PlaceError>(ambiguous));
    EXPECT_EQ(std::get<PlaceError>(ambiguous).message,
              "the place 'springfield' is ambiguous: Alpha/Springfield, Beta/Springfield");
    const auto linked = zones.ByZone("Older/Town");
    ASSERT_TRUE(linked);
    EXPECT_EQ(linked->name, "Town");
    EXPECT_DOUBLE_EQ(linked->latitudeDeg, 1.0);
}

// The time zone's city: TZ by name or by path, the link /etc/localtime and
// /etc/timezone (decoys here); UTC and a POSIX rule give no place.
TEST(Place, TakesTheTimeZonesCity) {
    const ZoneTable zones = ZoneTable::Load("/usr/share/zoneinfo");
    const test::TempFolder folder;
    const std::string link = (folder.Path() / "localtime").string();
    const std::string file = (folder.Path() / "timezone").string();
    struct ZoneCase {
        std::optional<std::string> tz;
        const char* linkTarget; // nullptr: no link
        const char* name;       // nullptr: no place
    };
    const ZoneCase cases[] = {
        {"Europe/Oslo", nullptr, "Oslo"},
        {":/usr/share/zoneinfo/Asia/Tokyo", nullptr, "Tokyo"},
        {"Asia/Calcutta", nullptr, "Kolkata"},
        {"UTC", nullptr, nullptr},
        {"CET-1CEST,M3.5.0,M10.5.0/3", nullptr, nullptr},
        {std::nullopt, "/usr/share/zoneinfo/America/New_York", "New York"},
        {std::nullopt, nullptr, "Lisbon"}, // the decoy /etc/timezone
    };
    std::ofstream(file) << "Europe/Lisbon\n";
    for (const ZoneCase& c : cases) {
        SCOPED_TRACE(c.tz.value_or("(unset)"));
        std::filesystem::remove(link);
        if (c.linkTarget != nullptr) {
            std::filesystem::create_symlink(c.linkTarget, link);
        }
        const test::ScopedEnv tz("TZ", c.tz);
        const auto place = PlaceOfTimeZone(zones, SystemZoneName(link, file));
        ASSERT_EQ(place.has_value(), c.name != nullptr);
        if (place) {
            EXPECT_EQ(place->name, c.name);
            EXPECT_EQ(place->source, PlaceSource::timeZone);
            EXPECT_EQ(PlaceTitle(*place), std::string(c.name) + ", from the time zone");
        }
    }
}

// The place file: stored and read back, "none", and damaged files (two
// lines, a bad number, too long, a folder in its place) reported and skipped.
TEST(Place, StoresThePlaceAndSkipsADamagedFile) {
    const test::TempConfigHome home("norvale-place");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(LoadStoredPlace()));
    const Place berlin{52.5, 13.366666666666667, "Berlin", PlaceSource::given};
    ASSERT_TRUE(SavePlace(berlin).ok);
    const auto stored = LoadStoredPlace();
    ASSERT_TRUE(std::holds_alternative<Place>(stored));
    EXPECT_EQ(std::get<Place>(stored).name, "Berlin");
    EXPECT_NEAR(std::get<Place>(stored).longitudeDeg, 13.366667, 1e-6);
    EXPECT_EQ(std::get<Place>(stored).source, PlaceSource::stored);
    ASSERT_TRUE(SavePlace(std::nullopt).ok);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(LoadStoredPlace()));

    const std::string path = *PlaceFilePath();
    for (const std::string& damaged :
         std::vector<std::string>{"52.5,13.4,A\n52,13,B\n", "52.5;13.4,A\n", "52.5,13.4,A",
                                  std::string(300, 'x') + '\n', "91,13.4,A\n"}) {
        SCOPED_TRACE(damaged.substr(0, 20));
        std::ofstream(path, std::ios::trunc) << damaged;
        const auto loaded = LoadStoredPlace();
        ASSERT_TRUE(std::holds_alternative<PlaceError>(loaded));
        EXPECT_NE(std::get<PlaceError>(loaded).message.find("is damaged"), std::string::npos);
        std::string warning;
        const test::ScopedEnv tz("TZ", "Europe/Berlin");
        const auto fallback = DefaultPlace(&warning);
        EXPECT_EQ(warning, std::get<PlaceError>(loaded).message);
        ASSERT_TRUE(fallback);
        EXPECT_EQ(fallback->source, PlaceSource::timeZone);
    }
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_TRUE(std::holds_alternative<PlaceError>(LoadStoredPlace()));
}

} // namespace
} // namespace norvale
