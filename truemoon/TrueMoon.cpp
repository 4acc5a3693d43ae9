#include "truemoon/TrueMoon.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace norvale {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Disks of more pixels than this are drawn on every core: about a 600-pixel disk.
constexpr std::int64_t ThreadedPixels = 300000;

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

// atan2 to about 1e-5 radians (a thousandth of a map texel), several times
// faster than the C library's: an odd polynomial for the arctangent on
// [0, 1] and the octant folded in.
double FastAtan2(double y, double x) {
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const double big = std::max(ax, ay);
    if (big == 0.0) {
        return 0.0;
    }
    const double t = std::min(ax, ay) / big;
    const double t2 = t * t;
    double a =
        t * (0.99997726 +
             t2 * (-0.33262347 +
                   t2 * (0.19354346 + t2 * (-0.11643287 + t2 * (0.05265332 - t2 * 0.01172120)))));
    if (ay > ax) {
        a = std::numbers::pi / 2 - a;
    }
    if (x < 0.0) {
        a = std::numbers::pi - a;
    }
    return y < 0.0 ? -a : a;
}

// Catmull-Rom weights for a fraction t of the way from texel 1 to texel 2.
std::array<float, 4> CubicWeights(float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return {0.5f * (-t3 + 2 * t2 - t), 0.5f * (3 * t3 - 5 * t2 + 2), 0.5f * (-3 * t3 + 4 * t2 + t),
            0.5f * (t3 - t2)};
}

std::int64_t Wrap(std::int64_t column, std::int64_t width) {
    if (column < 0 || column >= width) {
        column %= width;
        if (column < 0) {
            column += width;
        }
    }
    return column;
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
    std::array<std::int64_t, 4> columns{};
    for (std::size_t i = 0; i < 4; ++i) {
        columns[i] = Wrap(ix + static_cast<std::int64_t>(i), level.width);
    }
    float sum = 0.0f;
    for (std::size_t j = 0; j < 4; ++j) {
        const std::int64_t row =
            std::clamp<std::int64_t>(iy + static_cast<std::int64_t>(j), 0, level.height - 1);
        const std::uint8_t* line = &level.indices[static_cast<std::size_t>(row) * level.width];
        sum += wy[j] * (wx[0] * static_cast<float>(line[columns[0]]) +
                        wx[1] * static_cast<float>(line[columns[1]]) +
                        wx[2] * static_cast<float>(line[columns[2]]) +
                        wx[3] * static_cast<float>(line[columns[3]]));
    }
    return std::clamp(sum, 0.0f, 255.0f);
}

// A palette's 256 colours as floats, and the colour between the two entries
// around a fractional index.
struct FloatPalette {
    std::array<std::array<float, 3>, 257> entries{};

    explicit FloatPalette(const std::array<std::uint32_t, 256>& palette) {
        for (std::size_t i = 0; i < 257; ++i) {
            const std::uint32_t p = palette[std::min<std::size_t>(i, 255)];
            entries[i] = {static_cast<float>(p >> 16 & 0xFFu), static_cast<float>(p >> 8 & 0xFFu),
                          static_cast<float>(p & 0xFFu)};
        }
    }

    std::array<float, 3> At(float index) const {
        const auto low = static_cast<std::size_t>(index);
        const float t = index - static_cast<float>(low);
        const auto& a = entries[low];
        const auto& b = entries[low + 1];
        return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1]), a[2] + t * (b[2] - a[2])};
    }
};

std::uint32_t Pack(const std::array<float, 3>& rgb) {
    std::uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const float v = std::clamp(rgb[static_cast<std::size_t>(c)], 0.0f, 255.0f);
        out |= static_cast<std::uint32_t>(v + 0.5f) << (16 - 8 * c);
    }
    return out;
}

std::array<float, 3> Unpack(std::uint32_t p) {
    return {static_cast<float>(p >> 16 & 0xFFu), static_cast<float>(p >> 8 & 0xFFu),
            static_cast<float>(p & 0xFFu)};
}

} // namespace

namespace {

// What every row of one disk needs.
struct DiskJob {
    PixelBuffer target;
    DiskPlacement disk;
    const LunarMapLevel* level;
    FloatPalette lit;
    FloatPalette dark;
    DiskFrame frame;
    double cosI;
    double sinI;
    Direction sun;
};

// Draws the rows [from, to) of the disk.
void DrawRows(const DiskJob& job, std::int32_t from, std::int32_t to) {
    const PixelBuffer& target = job.target;
    const DiskPlacement& disk = job.disk;
    const double r = disk.radius;
    const LunarMapLevel& level = *job.level;
    const FloatPalette& litPalette = job.lit;
    const FloatPalette& darkPalette = job.dark;
    const DiskFrame& frame = job.frame;
    const double cosI = job.cosI;
    const double sinI = job.sinI;
    const Direction sun = job.sun;
    for (std::int32_t y = from; y < to; ++y) {
        const double py = (y + 0.5 - disk.centreY) / r;
        // The columns of the row within a pixel of the circle.
        const double half = std::sqrt(std::max(0.0, 1.0 - py * py)) * r + 1.5;
        const auto x0 = static_cast<std::int32_t>(std::max(0.0, std::floor(disk.centreX - half)));
        const auto x1 = static_cast<std::int32_t>(
            std::min<double>(target.width, std::ceil(disk.centreX + half)));
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
            const double bz = std::clamp(depth * frame.sinB + north * frame.cosB, -1.0, 1.0);
            const double longitude = FastAtan2(east, bx) + frame.longitude;
            const double latitude = FastAtan2(bz, std::sqrt(std::max(0.0, 1.0 - bz * bz)));
            const float index = Sample(level, longitude, latitude);

            // Lit where the surface faces the Sun; blended over about a pixel
            // across the terminator, by the slope of the facing there.
            const double facing = depth * cosI + sinI * (px * sun.x + qy * sun.y);
            const double d = std::max(depth, 1e-6);
            const double gx = sinI * sun.x - cosI * px / d;
            const double gy = sinI * sun.y - cosI * qy / d;
            const double slope = std::sqrt(gx * gx + gy * gy) / r;
            const double lit = slope > 0.0 ? std::clamp(0.5 + facing / (2 * slope), 0.0, 1.0)
                                           : (facing > 0.0 ? 1.0 : 0.0);
            std::array<float, 3> colour{};
            const auto w = static_cast<float>(lit);
            if (w >= 1.0f) {
                colour = litPalette.At(index);
            } else if (w <= 0.0f) {
                colour = darkPalette.At(index);
            } else {
                const std::array<float, 3> bright = litPalette.At(index);
                const std::array<float, 3> dark = darkPalette.At(index);
                for (std::size_t c = 0; c < 3; ++c) {
                    colour[c] = w * bright[c] + (1.0f - w) * dark[c];
                }
            }
            if (cover < 1.0) {
                const auto k = static_cast<float>(cover);
                const std::array<float, 3> sky = Unpack(target.At(x, y));
                for (std::size_t c = 0; c < 3; ++c) {
                    colour[c] = k * colour[c] + (1.0f - k) * sky[c];
                }
            }
            target.At(x, y) = Pack(colour);
        }
    }
}

} // namespace

void DrawTrueMoon(const PixelBuffer& target, const DiskPlacement& disk, const MoonView& view,
                  LunarMap& map) {
    const double r = disk.radius;
    if (target.pixels == nullptr || map.Empty() || !(r > 0.0) || r > 1e6) {
        return;
    }
    const double phase = view.phaseAngle * kDegree;
    const DiskJob job{target,
                      disk,
                      &map.Level(map.LevelForRadius(r)),
                      FloatPalette(map.Lit()),
                      FloatPalette(map.Dark()),
                      FrameOf(view),
                      std::cos(phase),
                      std::sin(phase),
                      DirectionOf((view.brightLimb - view.up) * kDegree)};
    const auto y0 = static_cast<std::int32_t>(std::max(0.0, std::floor(disk.centreY - r - 1)));
    const auto y1 =
        static_cast<std::int32_t>(std::min<double>(target.height, std::ceil(disk.centreY + r + 1)));
    // A large disk is shared out in bands of rows among the cores (at most
    // four threads); each thread writes its own rows only.
    const auto pixels = static_cast<std::int64_t>((y1 - y0) * 2 * r);
    const unsigned cores = std::min(4u, std::max(1u, std::thread::hardware_concurrency()));
    if (pixels < ThreadedPixels || cores < 2 || y1 - y0 < 64) {
        DrawRows(job, y0, y1);
        return;
    }
    constexpr std::int32_t Band = 16;
    std::atomic<std::int32_t> next{y0};
    const auto work = [&job, &next, y1] {
        for (std::int32_t from = next.fetch_add(Band); from < y1; from = next.fetch_add(Band)) {
            DrawRows(job, from, std::min(y1, from + Band));
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned i = 1; i < cores; ++i) {
        helpers.emplace_back(work);
    }
    work();
    for (std::thread& helper : helpers) {
        helper.join();
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
