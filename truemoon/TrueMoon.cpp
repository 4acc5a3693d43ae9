#include "truemoon/TrueMoon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace norvale {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// The picture's unit vector at position angle pa (radians), y down: north is
// up and east to the left, as the sky is seen.
struct Direction {
    double x;
    double y;
};
Direction DirectionOf(double pa) {
    return {-std::sin(pa), -std::cos(pa)};
}

// The frame of the disk: the lunar north and east directions on the picture
// and the tilt of the point at the centre.
struct DiskFrame {
    Direction north;
    Direction east;
    double sinB;
    double cosB;
    double longitude; // radians
};

DiskFrame FrameOf(const MoonView& view) {
    const double turn = (view.axis - view.up) * kDegree;
    const double b = view.librationLatitude * kDegree;
    // Selenographic east lies 90 degrees clockwise of north on the sky (the
    // Moon's east faces the observer's west).
    return {DirectionOf(turn), DirectionOf(turn - std::numbers::pi / 2), std::sin(b), std::cos(b),
            view.librationLongitude * kDegree};
}

// Catmull-Rom weights for a fraction t of the way from texel 1 to texel 2.
std::array<float, 4> CubicWeights(float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return {0.5f * (-t3 + 2 * t2 - t), 0.5f * (3 * t3 - 5 * t2 + 2), 0.5f * (-3 * t3 + 4 * t2 + t),
            0.5f * (t3 - t2)};
}

// The index at longitude and latitude (radians), interpolated with
// Catmull-Rom: smooth where the disk is larger than the map, never blocky.
float Sample(const LunarMapLevel& level, double longitude, double latitude) {
    const double fx = (longitude / (2 * std::numbers::pi) + 0.5) * level.width - 0.5;
    const double fy = (0.5 - latitude / std::numbers::pi) * level.height - 0.5;
    const double x0 = std::floor(fx);
    const double y0 = std::floor(fy);
    const auto wx = CubicWeights(static_cast<float>(fx - x0));
    const auto wy = CubicWeights(static_cast<float>(fy - y0));
    const auto ix = static_cast<std::int64_t>(x0) - 1;
    const auto iy = static_cast<std::int64_t>(y0) - 1;
    float sum = 0.0f;
    for (int j = 0; j < 4; ++j) {
        const std::int64_t row = std::clamp<std::int64_t>(iy + j, 0, level.height - 1);
        const float* line = &level.indices[static_cast<std::size_t>(row) * level.width];
        float across = 0.0f;
        for (int i = 0; i < 4; ++i) {
            std::int64_t column = (ix + i) % level.width;
            if (column < 0) {
                column += level.width;
            }
            across += wx[static_cast<std::size_t>(i)] * line[column];
        }
        sum += wy[static_cast<std::size_t>(j)] * across;
    }
    return std::clamp(sum, 0.0f, 255.0f);
}

// The colour between the two palette entries around a fractional index.
std::array<float, 3> Colour(const std::array<std::uint32_t, 256>& palette, float index) {
    const auto low = static_cast<std::size_t>(index);
    const std::size_t high = std::min<std::size_t>(low + 1, 255);
    const float t = index - static_cast<float>(low);
    std::array<float, 3> out{};
    for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        const auto from = static_cast<float>(palette[low] >> shift & 0xFFu);
        const auto to = static_cast<float>(palette[high] >> shift & 0xFFu);
        out[static_cast<std::size_t>(c)] = from + t * (to - from);
    }
    return out;
}

std::uint32_t Pack(const std::array<float, 3>& rgb) {
    std::uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const float v = std::clamp(rgb[static_cast<std::size_t>(c)], 0.0f, 255.0f);
        out |= static_cast<std::uint32_t>(std::lround(v)) << (16 - 8 * c);
    }
    return out;
}

std::array<float, 3> Unpack(std::uint32_t p) {
    return {static_cast<float>(p >> 16 & 0xFFu), static_cast<float>(p >> 8 & 0xFFu),
            static_cast<float>(p & 0xFFu)};
}

} // namespace

void DrawTrueMoon(const PixelBuffer& target, const DiskPlacement& disk, const MoonView& view,
                  LunarMap& map) {
    const double r = disk.radius;
    if (target.pixels == nullptr || map.Empty() || !(r > 0.0) || r > 1e6) {
        return;
    }
    const LunarMapLevel& level = map.Level(map.LevelForRadius(r));
    const DiskFrame frame = FrameOf(view);
    const double phase = view.phaseAngle * kDegree;
    const double cosI = std::cos(phase);
    const double sinI = std::sin(phase);
    const Direction sun = DirectionOf((view.brightLimb - view.up) * kDegree);

    const auto x0 = static_cast<std::int32_t>(std::max(0.0, std::floor(disk.centreX - r - 1)));
    const auto x1 =
        static_cast<std::int32_t>(std::min<double>(target.width, std::ceil(disk.centreX + r + 1)));
    const auto y0 = static_cast<std::int32_t>(std::max(0.0, std::floor(disk.centreY - r - 1)));
    const auto y1 =
        static_cast<std::int32_t>(std::min<double>(target.height, std::ceil(disk.centreY + r + 1)));
    for (std::int32_t y = y0; y < y1; ++y) {
        const double py = (y + 0.5 - disk.centreY) / r;
        for (std::int32_t x = x0; x < x1; ++x) {
            double px = (x + 0.5 - disk.centreX) / r;
            double qy = py;
            const double rr = px * px + qy * qy;
            // The share of the pixel inside the circle, by its centre's
            // distance from the limb: a half at the limb itself.
            const double distance = std::sqrt(rr);
            const double cover = std::clamp(r - distance * r + 0.5, 0.0, 1.0);
            if (cover <= 0.0) {
                continue;
            }
            if (rr > 1.0) {
                // Just outside: the surface at the limb.
                px /= distance;
                qy /= distance;
            }
            const double depth = std::sqrt(std::max(0.0, 1.0 - px * px - qy * qy));
            // The point's components along the Moon's north and east on the
            // picture, then turned from the centre's point to the Moon's own
            // frame (x toward longitude 0, y east, z north).
            const double north = px * frame.north.x + qy * frame.north.y;
            const double east = px * frame.east.x + qy * frame.east.y;
            const double bx = depth * frame.cosB - north * frame.sinB;
            const double bz = depth * frame.sinB + north * frame.cosB;
            const double longitude = std::atan2(east, bx) + frame.longitude;
            const double latitude = std::asin(std::clamp(bz, -1.0, 1.0));
            const float index = Sample(level, longitude, latitude);

            // Lit where the surface faces the Sun; blended over about a pixel
            // across the terminator, by the slope of the facing there.
            const double facing = depth * cosI + sinI * (px * sun.x + qy * sun.y);
            const double d = std::max(depth, 1e-6);
            const double slope =
                std::hypot(sinI * sun.x - cosI * px / d, sinI * sun.y - cosI * qy / d) / r;
            const double lit = slope > 0.0 ? std::clamp(0.5 + facing / (2 * slope), 0.0, 1.0)
                                           : (facing > 0.0 ? 1.0 : 0.0);
            std::array<float, 3> colour{};
            const std::array<float, 3> bright = Colour(map.Lit(), index);
            const std::array<float, 3> dark = Colour(map.Dark(), index);
            const std::array<float, 3> sky = Unpack(target.At(x, y));
            for (std::size_t c = 0; c < 3; ++c) {
                const float surface =
                    static_cast<float>(lit) * bright[c] + static_cast<float>(1.0 - lit) * dark[c];
                colour[c] =
                    static_cast<float>(cover) * surface + static_cast<float>(1.0 - cover) * sky[c];
            }
            target.At(x, y) = Pack(colour);
        }
    }
}

std::optional<DiskOffset> ProjectOnDisk(const MoonView& view, double latitude, double longitude) {
    const DiskFrame frame = FrameOf(view);
    const double lat = latitude * kDegree;
    const double lon = longitude * kDegree - frame.longitude;
    // The point in the Moon's frame turned about the longitude at the centre.
    const double bx = std::cos(lat) * std::cos(lon);
    const double east = std::cos(lat) * std::sin(lon);
    const double bz = std::sin(lat);
    // Tilted by the latitude at the centre: depth toward the observer.
    const double depth = bx * frame.cosB + bz * frame.sinB;
    const double north = -bx * frame.sinB + bz * frame.cosB;
    if (depth < 0.0) {
        return std::nullopt;
    }
    return DiskOffset{north * frame.north.x + east * frame.east.x,
                      north * frame.north.y + east * frame.east.y};
}

} // namespace norvale
