#include "truemoon/TruePicture.h"

#include "panel/PanelDraw.h"
#include "panel/PanelText.h"
#include "png/Png.h"

#include <algorithm>
#include <cmath>

namespace norvale {

namespace {

// The text rows' tops counted from the bottom, as on the panel.
constexpr std::array<int, 3> RowsFromBottom = {CaptionRowFromBottom, AgeRowFromBottom,
                                               IlluminationRowFromBottom};

std::int32_t Scaled(double value, double scale) {
    return static_cast<std::int32_t>(std::floor(value * scale));
}

} // namespace

TrueLayout PanelTrueLayout(int scale) {
    scale = std::clamp(scale, 1, 2);
    TrueLayout layout;
    layout.width = PanelWidth * scale;
    layout.height = PanelHeight * scale;
    // The panel's disk (12, 5, 123, 116) has its centre at (67.5, 60.5).
    layout.disk = {67.5 * scale, 60.5 * scale, PanelTrueRadius * scale};
    layout.stars = PanelStarCount;
    layout.textScale = scale;
    return layout;
}

TrueLayout SizedTrueLayout(std::int32_t width, std::int32_t height, double moonSize, bool caption) {
    TrueLayout layout;
    layout.width = width;
    layout.height = height;
    const double shorter = std::min(width, height);
    layout.disk = {width / 2.0, height / 2.0, moonSize * shorter / 2.0};
    // As many stars on the panel's area, growing with the side rather than
    // the area: a wallpaper is not a star chart.
    const double area = static_cast<double>(width) * height;
    layout.stars = static_cast<int>(std::lround(
        PanelStarCount * std::sqrt(area / (static_cast<double>(PanelWidth) * PanelHeight))));
    // The panel's 10-pixel text on a 540-pixel side, larger with the side.
    layout.textScale = caption ? std::clamp(shorter / 540.0, 1.0, 8.0) : 0.0;
    return layout;
}

void DrawTruePicture(const PixelBuffer& target, const TrueLayout& layout, const MoonView& view,
                     double sizeScale, std::uint32_t starSeed,
                     const std::array<std::string, 3>& lines, LunarMap& map) {
    if (target.pixels == nullptr || target.width < layout.width || target.height < layout.height ||
        layout.width <= 0 || layout.height <= 0) {
        return;
    }
    for (std::int32_t y = 0; y < layout.height; ++y) {
        std::fill_n(&target.At(0, y), layout.width, Rgb(0, 0, 0));
    }
    const PixelBuffer picture{target.pixels, layout.width, layout.height, target.stride};
    if (layout.stars > 0) {
        DrawStarsSeeded(picture, ComputeGeometry(layout.width, layout.height), layout.stars,
                        starSeed);
    }
    DiskPlacement disk = layout.disk;
    disk.radius *= sizeScale;
    DrawTrueMoon(picture, disk, view, map);
    if (layout.textScale > 0.0) {
        const double s = layout.textScale;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            DrawPanelText(picture, Scaled(TextLeft, s),
                          layout.height - Scaled(RowsFromBottom[i], s), lines[i], s);
        }
    }
}

std::vector<std::uint8_t> TruePicturePng(const TrueLayout& layout, const MoonView& view,
                                         double sizeScale, std::uint32_t starSeed,
                                         const std::array<std::string, 3>& lines) {
    if (layout.width <= 0 || layout.height <= 0 || layout.width > MaxTrueWidth * 2 ||
        layout.height > MaxTrueHeight * 2) {
        return {};
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) *
                                      static_cast<std::size_t>(layout.height));
    const PixelBuffer buffer{pixels.data(), layout.width, layout.height, layout.width};
    DrawTruePicture(buffer, layout, view, sizeScale, starSeed, lines, BuiltInLunarMap());
    return EncodePng(buffer);
}

} // namespace norvale
