#include "shading/DeviceScale.h"

#include <algorithm>
#include <cmath>

namespace norvale {

namespace {

// Products that should be whole numbers may come out a hair off in floating
// point (156 * 1.1); the rounding below forgives that much.
constexpr double Slack = 1e-6;

// Scales closer than this to a whole number are that number.
constexpr double SnapToWhole = 1e-4;

std::int32_t ToPixels(double v) {
    return static_cast<std::int32_t>(std::clamp(v, -2.0e9, 2.0e9));
}

std::int32_t Rounded(double v) {
    return ToPixels(std::floor(v + 0.5));
}

} // namespace

double ClampDeviceScale(double scale) {
    if (!(scale >= 1.0)) { // NaN too
        return 1.0;
    }
    scale = std::min(scale, MaxDeviceScale);
    // A whole scale computed in floating point (2.0000001) is the whole one.
    const double whole = std::round(scale);
    return std::abs(scale - whole) < SnapToWhole ? whole : scale;
}

bool IsWholeDeviceScale(double scale) {
    return scale == 1.0 || scale == 2.0;
}

std::int32_t DeviceLength(std::int32_t logical, double scale) {
    return ToPixels(std::ceil(logical * ClampDeviceScale(scale) - Slack));
}

std::int32_t DeviceCoordinate(std::int32_t logical, double scale) {
    return ToPixels(std::floor(logical * ClampDeviceScale(scale) + Slack));
}

PictureGeometry DeviceGeometry(const PictureGeometry& geometry, double scale) {
    scale = ClampDeviceScale(scale);
    const PixelRect& disk = geometry.m_moonRect;
    const std::int32_t d = Rounded(disk.Width() * scale);
    const double centreX = (disk.left + disk.right) / 2.0 * scale;
    const double centreY = (disk.top + disk.bottom) / 2.0 * scale;
    const std::int32_t left = Rounded(centreX - d / 2.0);
    const std::int32_t top = Rounded(centreY - d / 2.0);
    const std::int32_t split = Rounded(geometry.SplitX() * scale);

    PictureGeometry g;
    g.m_margin = Rounded(geometry.m_margin * scale);
    const std::int64_t fine = std::llround(geometry.m_dayStep * scale * 1024.0);
    if (fine % 1024 == 0) {
        g.m_dayStep = static_cast<std::int32_t>(fine / 1024);
    } else {
        g.m_dayStep = Rounded(geometry.m_dayStep * scale);
        g.m_dayStepFine = static_cast<std::int32_t>(fine);
    }
    g.m_clientRect = {0, 0, DeviceLength(geometry.m_clientRect.Width(), scale),
                      DeviceLength(geometry.m_clientRect.Height(), scale)};
    g.m_moonRect = {left, top, left + d, top + d};
    g.m_terminatorRect = g.m_moonRect;
    g.m_arcTop = {split, top};
    g.m_arcBottom = {split, top + d};
    return g;
}

std::int32_t StarSide(double scale) {
    return std::max(1, Rounded(ClampDeviceScale(scale)));
}

void DrawStarsAt(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                 std::uint32_t seed, double scale) {
    const std::int32_t w = geometry.m_clientRect.Width();
    const std::int32_t h = geometry.m_clientRect.Height();
    if (w <= 0 || h <= 0) {
        return; // no client area: nothing to scatter over (and no modulo by zero)
    }
    scale = ClampDeviceScale(scale);
    const std::int32_t side = StarSide(scale);
    StarRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const std::int32_t y = random.Next() % h; // the row first, then the column
        const std::int32_t x = random.Next() % w;
        const std::int32_t left = Rounded((x + 0.5) * scale - side / 2.0);
        const std::int32_t top = Rounded((y + 0.5) * scale - side / 2.0);
        for (std::int32_t py = std::max(top, 0); py < std::min(top + side, target.height); ++py) {
            for (std::int32_t px = std::max(left, 0); px < std::min(left + side, target.width);
                 ++px) {
                target.At(px, py) = StarColour;
            }
        }
    }
}

} // namespace norvale
