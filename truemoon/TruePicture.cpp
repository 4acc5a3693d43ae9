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

// 512 x 512 pixels.
constexpr std::int64_t LargePicturePixels = 512 * 512;

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
                     const std::array<std::string, 3>& lines, LunarMap& map,
                     std::int32_t firstRow) {
    if (target.pixels == nullptr || target.width < layout.width || layout.width <= 0 ||
        layout.height <= 0 || firstRow < 0 || firstRow >= layout.height) {
        return;
    }
    const PixelBuffer band{target.pixels, layout.width,
                           std::min(target.height, layout.height - firstRow), target.stride};
    for (std::int32_t y = 0; y < band.height; ++y) {
        std::fill_n(&band.At(0, y), band.width, Rgb(0, 0, 0));
    }
    StarRandom random(starSeed);
    for (int i = 0; i < layout.stars; ++i) {
        const std::int32_t y = random.Next() % layout.height - firstRow;
        const std::int32_t x = random.Next() % layout.width;
        if (y >= 0 && y < band.height) {
            band.At(x, y) = StarColour;
        }
    }
    DiskPlacement disk = layout.disk;
    disk.radius *= sizeScale;
    disk.centreY -= firstRow;
    DrawTrueMoon(band, disk, view, map);
    if (layout.textScale > 0.0) {
        const double s = layout.textScale;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            DrawPanelText(band, Scaled(TextLeft, s),
                          layout.height - Scaled(RowsFromBottom[i], s) - firstRow, lines[i], s);
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
    // A wallpaper is drawn and written a band of rows at a time (never the
    // whole picture in memory), at zlib's fastest level: its compression is
    // most of its time. A picture the panel's size is drawn whole and takes
    // the panel's encoder (a level that packs a little tighter).
    if (static_cast<std::int64_t>(layout.width) * layout.height > LargePicturePixels) {
        return EncodePngInBands(layout.width, layout.height, 1,
                                [&](const PixelBuffer& band, std::int32_t firstRow) {
                                    DrawTruePicture(band, layout, view, sizeScale, starSeed, lines,
                                                    BuiltInLunarMap(), firstRow);
                                });
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) *
                                      static_cast<std::size_t>(layout.height));
    const PixelBuffer buffer{pixels.data(), layout.width, layout.height, layout.width};
    DrawTruePicture(buffer, layout, view, sizeScale, starSeed, lines, BuiltInLunarMap());
    return EncodePng(buffer);
}

} // namespace norvale
