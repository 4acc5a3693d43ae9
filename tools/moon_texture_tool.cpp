// Builds the two registered Moon surface textures from an equirectangular map
// of the lunar surface: the near side projected orthographically onto the
// panel's disk, a plausible cratered surface continued outside it, written as
// a lit and a dark 8-bit 256-colour bottom-up BMP that share one index image.
//
// Usage: norvale_texture_tool MAP.png OUTDIR [SCALE]
// writes OUTDIR/moon-lit-131.bmp and OUTDIR/moon-dark-130.bmp (SCALE 1) or
// OUTDIR/moon-lit-131@2x.bmp and OUTDIR/moon-dark-130@2x.bmp (SCALE 2).
// The output depends only on the map: the same map gives the same bytes.
//
// Usage: norvale_texture_tool MAP.png OUTDIR map
// writes OUTDIR/moon-map.bmp: the whole map at its own size as palette indices
// under a grey palette, stretched as the textures are (the index of a texel
// means the same brightness in both), for the true picture, which colours it
// with the textures' lit and dark palettes.

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QString>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

constexpr int BaseWidth = 193;
constexpr int BaseHeight = 183;
// The disk of the 135 x 156 panel: rectangle (12, 5, 123, 116).
constexpr double BaseCentreX = 67.5;
constexpr double BaseCentreY = 60.5;
constexpr double BaseRadius = 55.5;
constexpr int Supersample = 4;

// Channel ranges and means of the two textures.
struct ChannelTarget {
    double low;
    double high;
    double mean;
};
constexpr std::array<ChannelTarget, 3> LitTarget{
    {{131, 255, 200}, {148, 255, 208}, {167, 255, 218}}};
constexpr std::array<ChannelTarget, 3> DarkTarget{{{10, 90, 51}, {11, 99, 56}, {13, 109, 62}}};

struct GreyMap {
    int width = 0;
    int height = 0;
    std::vector<double> values; // 0 ... 1, top row first

    double At(int x, int y) const {
        x = ((x % width) + width) % width;
        y = std::clamp(y, 0, height - 1);
        return values[static_cast<std::size_t>(y) * width + x];
    }

    // Bilinear sample at longitude and latitude in degrees.
    double Sample(double lonDeg, double latDeg) const {
        const double fx = (lonDeg / 360.0 + 0.5) * width - 0.5;
        const double fy = (0.5 - latDeg / 180.0) * height - 0.5;
        const int x0 = static_cast<int>(std::floor(fx));
        const int y0 = static_cast<int>(std::floor(fy));
        const double ax = fx - x0;
        const double ay = fy - y0;
        const double top = At(x0, y0) * (1 - ax) + At(x0 + 1, y0) * ax;
        const double bottom = At(x0, y0 + 1) * (1 - ax) + At(x0 + 1, y0 + 1) * ax;
        return top * (1 - ay) + bottom * ay;
    }
};

bool LoadMap(const QString& path, GreyMap& map) {
    QImage image(path);
    if (image.isNull()) {
        return false;
    }
    image = image.convertToFormat(QImage::Format_Grayscale8);
    map.width = image.width();
    map.height = image.height();
    map.values.resize(static_cast<std::size_t>(map.width) * map.height);
    for (int y = 0; y < map.height; ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < map.width; ++x) {
            map.values[static_cast<std::size_t>(y) * map.width + x] = row[x] / 255.0;
        }
    }
    return true;
}

// The near side seen at offset (u, v) from the disk centre in radii (v down).
// Inside the disk the angle from the centre of the near side is asin(r)
// (orthographic view); just outside it grows on linearly, 90 degrees per
// radius, so the surface continues around the limb without a seam.
double NearSideAt(const GreyMap& map, double u, double v) {
    const double r = std::hypot(u, v);
    if (r == 0.0) {
        return map.Sample(0.0, 0.0);
    }
    const double angle = r <= 1.0 ? std::asin(r) : std::numbers::pi / 2 * r;
    const double east = u / r;
    const double north = -v / r;
    const double toward = std::cos(angle);
    const double side = std::sin(angle);
    const double lat = std::asin(std::clamp(side * north, -1.0, 1.0));
    const double lon = std::atan2(side * east, toward);
    return map.Sample(lon * 180.0 / std::numbers::pi, lat * 180.0 / std::numbers::pi);
}

// Farther out, a flat patch of the far side's cratered highlands around
// longitude 180, at about the disk centre's scale (half a degree a pixel at
// the base size).
double FarSideAt(const GreyMap& map, double u, double v) {
    constexpr double DegreesPerRadius = 0.5 * BaseRadius;
    return map.Sample(180.0 + u * DegreesPerRadius, -v * DegreesPerRadius);
}

// The lunar surface at offset (u, v): the near side inside the disk, blended
// into the far-side patch over a band just outside the limb.
double SurfaceAt(const GreyMap& map, double u, double v) {
    constexpr double BlendStart = 1.0;
    constexpr double BlendEnd = 1.25;
    const double r = std::hypot(u, v);
    if (r <= BlendStart) {
        return NearSideAt(map, u, v);
    }
    if (r >= BlendEnd) {
        return FarSideAt(map, u, v);
    }
    const double t = (r - BlendStart) / (BlendEnd - BlendStart);
    const double w = t * t * (3 - 2 * t);
    return (1 - w) * NearSideAt(map, u, v) + w * FarSideAt(map, u, v);
}

std::vector<double> Project(const GreyMap& map, int scale) {
    const int width = BaseWidth * scale;
    const int height = BaseHeight * scale;
    const double cx = BaseCentreX * scale;
    const double cy = BaseCentreY * scale;
    const double radius = BaseRadius * scale;
    std::vector<double> grey(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0;
            for (int sy = 0; sy < Supersample; ++sy) {
                for (int sx = 0; sx < Supersample; ++sx) {
                    const double px = x + (sx + 0.5) / Supersample;
                    const double py = y + (sy + 0.5) / Supersample;
                    sum += SurfaceAt(map, (px - cx) / radius, (py - cy) / radius);
                }
            }
            grey[static_cast<std::size_t>(y) * width + x] = sum / (Supersample * Supersample);
        }
    }
    return grey;
}

// Stretches the grey values to 0 ... 255 between the 0.5th and 99.5th
// percentiles: one palette index per texel, shared by both textures.
std::vector<std::uint8_t> Indices(const std::vector<double>& grey) {
    std::vector<double> sorted = grey;
    std::sort(sorted.begin(), sorted.end());
    const double low = sorted[sorted.size() / 200];
    const double high = sorted[sorted.size() - 1 - sorted.size() / 200];
    std::vector<std::uint8_t> out(grey.size());
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const double t = std::clamp((grey[i] - low) / (high - low), 0.0, 1.0);
        out[i] = static_cast<std::uint8_t>(std::lround(t * 255.0));
    }
    return out;
}

int ChannelValue(const ChannelTarget& c, double gamma, int index) {
    const double t = index / 255.0;
    return static_cast<int>(std::lround(c.low + (c.high - c.low) * std::pow(t, gamma)));
}

// The gamma that gives the channel its mean over the texels (bisection).
double GammaFor(const ChannelTarget& c, const std::array<std::size_t, 256>& histogram,
                std::size_t total) {
    double lo = 0.05;
    double hi = 20.0;
    for (int step = 0; step < 60; ++step) {
        const double mid = std::sqrt(lo * hi);
        double sum = 0;
        for (int i = 0; i < 256; ++i) {
            sum += static_cast<double>(histogram[i]) * ChannelValue(c, mid, i);
        }
        // A higher gamma darkens.
        if (sum / static_cast<double>(total) > c.mean) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return std::sqrt(lo * hi);
}

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

Palette MakePalette(const std::array<ChannelTarget, 3>& target,
                    const std::vector<std::uint8_t>& indices) {
    std::array<std::size_t, 256> histogram{};
    for (std::uint8_t i : indices) {
        ++histogram[i];
    }
    Palette palette{};
    for (int channel = 0; channel < 3; ++channel) {
        const double gamma = GammaFor(target[channel], histogram, indices.size());
        for (int i = 0; i < 256; ++i) {
            palette[i][channel] =
                static_cast<std::uint8_t>(ChannelValue(target[channel], gamma, i));
        }
    }
    return palette;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An uncompressed 8-bit bottom-up BMP with a 256-entry palette.
std::vector<std::uint8_t> EncodeBmp(int width, int height, const Palette& palette,
                                    const std::vector<std::uint8_t>& indices) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) + 3) / 4 * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + imageSize);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0); // uncompressed
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, 256);
    Put32(out, 0);
    for (const auto& rgb : palette) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }
    for (int row = height - 1; row >= 0; --row) {
        const std::uint8_t* source = indices.data() + static_cast<std::size_t>(row) * width;
        out.insert(out.end(), source, source + width);
        out.insert(out.end(), stride - static_cast<std::uint32_t>(width), 0);
    }
    return out;
}

// The map's own texels stretched to indices by the percentiles of the near
// side as the textures show it (the orthographic disk, sampled evenly), so an
// index of the map and of the textures is the same brightness.
std::vector<std::uint8_t> MapIndices(const GreyMap& map) {
    constexpr int Samples = 512;
    std::vector<double> near;
    for (int y = 0; y < Samples; ++y) {
        for (int x = 0; x < Samples; ++x) {
            const double u = (x + 0.5) / Samples * 2 - 1;
            const double v = (y + 0.5) / Samples * 2 - 1;
            if (u * u + v * v <= 1.0) {
                near.push_back(NearSideAt(map, u, v));
            }
        }
    }
    std::sort(near.begin(), near.end());
    const double low = near[near.size() / 200];
    const double high = near[near.size() - 1 - near.size() / 200];
    std::vector<std::uint8_t> out(map.values.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = std::clamp((map.values[i] - low) / (high - low), 0.0, 1.0);
        out[i] = static_cast<std::uint8_t>(std::lround(t * 255.0));
    }
    return out;
}

Palette GreyPalette() {
    Palette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i),
                      static_cast<std::uint8_t>(i)};
    }
    return palette;
}

bool WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s MAP.png OUTDIR [SCALE|map]\n", argv[0]);
        return 2;
    }
    const bool wholeMap = argc == 4 && std::string_view(argv[3]) == "map";
    const int scale = argc == 4 && !wholeMap ? std::atoi(argv[3]) : 1;
    if (scale < 1 || scale > 4) {
        std::fprintf(stderr, "scale must be 1 to 4\n");
        return 2;
    }
    GreyMap map;
    if (!LoadMap(QString::fromLocal8Bit(argv[1]), map)) {
        std::fprintf(stderr, "cannot read the map %s\n", argv[1]);
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[2]);
    if (wholeMap) {
        const QString path = dir + QStringLiteral("/moon-map.bmp");
        if (!WriteFile(path, EncodeBmp(map.width, map.height, GreyPalette(), MapIndices(map)))) {
            std::fprintf(stderr, "cannot write the map into %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    const std::vector<std::uint8_t> indices = Indices(Project(map, scale));
    const int width = BaseWidth * scale;
    const int height = BaseHeight * scale;
    const QString suffix = scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale);
    const QString litPath = dir + QStringLiteral("/moon-lit-131") + suffix + QStringLiteral(".bmp");
    const QString darkPath =
        dir + QStringLiteral("/moon-dark-130") + suffix + QStringLiteral(".bmp");
    if (!WriteFile(litPath, EncodeBmp(width, height, MakePalette(LitTarget, indices), indices)) ||
        !WriteFile(darkPath, EncodeBmp(width, height, MakePalette(DarkTarget, indices), indices))) {
        std::fprintf(stderr, "cannot write the textures into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
