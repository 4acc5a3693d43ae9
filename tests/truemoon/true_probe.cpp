// Draws the true Moon at UTC instants (Unix seconds) at 1024 x 1024 and
// measures the pictures, for the geometry script:
//
//   true_probe [SECONDS...]
//
// Instants come as arguments, or one a line on standard input; a line
// "SECONDS LAT LON" draws the Moon from that place (degrees, north and east
// positive) with the place's zenith up. For each it prints one line:
//
//   seconds lit_share limb_angle radius crisium_x crisium_y plato_x plato_y
//   tycho_x tycho_y | phase_angle bright_limb axis libration_lon
//   libration_lat distance_km parallactic_angle
//
// measured from the pixels before the bar, the library's own figures after
// it. lit_share is the lit pixels of the disk against all of its pixels; the
// limb angle the position angle on the picture (degrees from straight up,
// through the left) of the line from the dark part's centroid to the lit
// part's, which points at the middle of the bright limb (nan when the disk
// is all lit or all dark); the radius sqrt(disk pixels / pi); each
// feature's x and y the centroid of a dark spot of 1 degree radius that a
// map of even brightness carries at the feature (drawn fully lit), in pixels
// from the top left corner. The pictures are drawn with palettes of their own:
// the lit side green, the dark side blue, so a pixel's share of the disk and
// of the lit side read straight from its colour, and the spots' darkness in
// the lit palette's red.

#include "sky/MoonOrientation.h"
#include "truemoon/SkyView.h"
#include "truemoon/TruePicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace norvale;

constexpr int Side = 1024;
constexpr double kDegree = std::numbers::pi / 180.0;

struct Feature {
    double latitude;
    double longitude;
};
// Mare Crisium's centre, Plato, Tycho.
constexpr Feature Features[] = {{17.0, 59.1}, {51.6, -9.3}, {-43.3, -11.2}};

std::vector<std::uint8_t> EvenMap(int width, int height, const Feature* spot) {
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(width) * height, 255);
    if (spot == nullptr) {
        return indices;
    }
    const double lat0 = spot->latitude * kDegree;
    const double lon0 = spot->longitude * kDegree;
    for (int y = 0; y < height; ++y) {
        const double lat = (0.5 - (y + 0.5) / height) * std::numbers::pi;
        for (int x = 0; x < width; ++x) {
            const double lon = ((x + 0.5) / width - 0.5) * 2 * std::numbers::pi;
            const double c = std::sin(lat) * std::sin(lat0) +
                             std::cos(lat) * std::cos(lat0) * std::cos(lon - lon0);
            if (std::acos(std::fmin(1.0, c)) < 1.0 * kDegree) {
                indices[static_cast<std::size_t>(y) * width + x] = 0;
            }
        }
    }
    return indices;
}

std::vector<std::uint32_t> Draw(const TrueLayout& layout, const MoonView& view, double sizeScale,
                                LunarMap& map) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(Side) * Side);
    DrawTruePicture({pixels.data(), Side, Side, Side}, layout, view, sizeScale, 0, {}, map);
    return pixels;
}

int Channel(std::uint32_t p, int shift) {
    return static_cast<int>(p >> shift & 0xFFu);
}

bool Probe(const std::string& text) {
    char* end = nullptr;
    const long long seconds = std::strtoll(text.c_str(), &end, 10);
    std::optional<sky::Site> place;
    if (end != text.c_str() && *end == ' ') {
        char* latEnd = nullptr;
        const double lat = std::strtod(end, &latEnd);
        const double lon = std::strtod(latEnd, &end);
        place = sky::Site{lat, lon, 0.0};
    }
    if (end == text.c_str() || *end != '\0') {
        std::fprintf(stderr, "true_probe: not SECONDS [LAT LON]: %s\n", text.c_str());
        return false;
    }
    const bool zenithUp = place.has_value();
    const auto aspect = sky::MoonAspectAt(seconds, place);
    if (!aspect) {
        std::printf("%lld none\n", seconds);
        return true;
    }
    std::array<std::uint32_t, 256> lit{};
    std::array<std::uint32_t, 256> dark{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        lit[i] = Rgb(i, 255, 0);
        dark[i] = Rgb(0, 0, 255);
    }
    MoonView view = ViewOf(*aspect, zenithUp ? aspect->parallacticAngle : 0.0);
    TrueLayout layout = SizedTrueLayout(Side, Side, DefaultMoonSize, false);
    layout.stars = 0;

    // A pixel is the disk's when the circle covers half of it or more, and
    // lit when the lit side makes half of it or more.
    LunarMap even(512, 256, EvenMap(512, 256, nullptr), lit, dark);
    const auto pixels = Draw(layout, view, aspect->SizeScale(), even);
    const auto inDisk = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < Side && y < Side &&
               2 * (Channel(pixels[static_cast<std::size_t>(y) * Side + x], 8) +
                    Channel(pixels[static_cast<std::size_t>(y) * Side + x], 0)) >=
                   255;
    };
    long disk = 0;
    long litCount = 0;
    double sums[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            if (!inDisk(x, y)) {
                continue;
            }
            ++disk;
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * Side + x];
            const bool isLit = Channel(p, 8) >= Channel(p, 0);
            litCount += isLit ? 1 : 0;
            sums[isLit ? 1 : 0][0] += x + 0.5;
            sums[isLit ? 1 : 0][1] += y + 0.5;
        }
    }
    double limbAngle = std::nan("");
    if (litCount > 0 && litCount < disk) {
        const double darkCount = static_cast<double>(disk - litCount);
        const double dx = sums[1][0] / litCount - sums[0][0] / darkCount;
        const double dy = sums[1][1] / litCount - sums[0][1] / darkCount;
        limbAngle = std::atan2(-dx, -dy) / kDegree;
        if (limbAngle < 0) {
            limbAngle += 360.0;
        }
    }
    std::printf("%lld %.6f %.4f %.4f", seconds, static_cast<double>(litCount) / disk, limbAngle,
                std::sqrt(disk / std::numbers::pi));

    // Each feature as a spot on an even map, drawn fully lit.
    MoonView full = view;
    full.phaseAngle = 0.0;
    full.brightLimb = 0.0;
    // The three spots on one map, each spot's pixels those nearest to where
    // the library puts it (they lie far apart); drawn only with north up.
    static LunarMap spotted = [&] {
        std::vector<std::uint8_t> indices(static_cast<std::size_t>(1024) * 512, 255);
        for (const Feature& feature : Features) {
            const auto one = EvenMap(1024, 512, &feature);
            for (std::size_t i = 0; i < one.size(); ++i) {
                indices[i] = std::min(indices[i], one[i]);
            }
        }
        return LunarMap(1024, 512, indices, lit, dark);
    }();
    if (!zenithUp) {
        const auto spot = Draw(layout, full, aspect->SizeScale(), spotted);
        const double radius = layout.disk.radius * aspect->SizeScale();
        std::array<std::array<double, 3>, 3> spots{};
        std::array<DiskOffset, 3> near{};
        for (std::size_t f = 0; f < near.size(); ++f) {
            near[f] = ProjectOnDisk(full, Features[f].latitude, Features[f].longitude)
                          .value_or(DiskOffset{9.0, 9.0});
        }
        for (int y = 0; y < Side; ++y) {
            for (int x = 0; x < Side; ++x) {
                const std::uint32_t p = spot[static_cast<std::size_t>(y) * Side + x];
                const double dx = (x + 0.5 - Side / 2.0) / radius;
                const double dy = (y + 0.5 - Side / 2.0) / radius;
                const double w = std::fmax(0.0, Channel(p, 8) - Channel(p, 16));
                if (std::hypot(dx, dy) > 1.0 - 1.0 / radius || w <= 0.0) {
                    continue;
                }
                std::size_t nearest = 0;
                for (std::size_t f = 1; f < near.size(); ++f) {
                    if (std::hypot(dx - near[f].x, dy - near[f].y) <
                        std::hypot(dx - near[nearest].x, dy - near[nearest].y)) {
                        nearest = f;
                    }
                }
                spots[nearest][0] += w;
                spots[nearest][1] += w * (x + 0.5);
                spots[nearest][2] += w * (y + 0.5);
            }
        }
        for (const auto& sum : spots) {
            if (sum[0] > 0.0) {
                std::printf(" %.4f %.4f", sum[1] / sum[0], sum[2] / sum[0]);
            } else {
                std::printf(" nan nan");
            }
        }
    } else {
        std::printf(" nan nan nan nan nan nan");
    }
    std::printf(" | %.6f %.6f %.6f %.6f %.6f %.3f %.6f\n", aspect->phaseAngle, aspect->brightLimb,
                aspect->axis, aspect->librationLongitude, aspect->librationLatitude,
                aspect->distanceKm, aspect->parallacticAngle);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> instants(argv + 1, argv + argc);
    if (instants.empty()) {
        for (std::string line; std::getline(std::cin, line);) {
            instants.push_back(line);
        }
    }
    for (const std::string& instant : instants) {
        if (!Probe(instant)) {
            return 2;
        }
        std::fflush(stdout);
    }
    return 0;
}
