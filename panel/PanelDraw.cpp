#include "panel/PanelDraw.h"

#include "panel/PanelText.h"
#include "png/Png.h"
#include "shading/DeviceScale.h"
#include "shading/Textures.h"

#include <algorithm>
#include <string>

namespace norvale {

namespace {

struct Row {
    int fromBottom;
    const std::string MoonDay::*text;
};

constexpr std::array<Row, 3> Rows = {{{CaptionRowFromBottom, &MoonDay::caption},
                                      {AgeRowFromBottom, &MoonDay::ageText},
                                      {IlluminationRowFromBottom, &MoonDay::illuminationText}}};

} // namespace

std::array<PixelRect, 3> PanelTextBoxes(const MoonDay& day, std::int32_t clientHeight,
                                        double scale) {
    scale = ClampDeviceScale(scale);
    const std::int32_t height = PanelTextMetrics(scale).Height();
    std::array<PixelRect, 3> boxes;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const std::int32_t left = DeviceCoordinate(TextLeft, scale);
        const std::int32_t top = DeviceCoordinate(clientHeight - Rows[i].fromBottom, scale);
        boxes[i] = {left, top, left + PanelTextWidth(day.*Rows[i].text, scale), top + height};
    }
    return boxes;
}

void DrawPanel(const PixelBuffer& target, const PictureGeometry& geometry, const MoonDay& day,
               bool northern, std::uint32_t starSeed, double scale) {
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0) {
        return;
    }
    scale = ClampDeviceScale(scale);
    for (std::int32_t y = 0; y < target.height; ++y) {
        std::fill_n(&target.At(0, y), target.width, Rgb(0, 0, 0));
    }
    if (IsWholeDeviceScale(scale)) {
        const int whole = static_cast<int>(scale);
        DrawStarsScaled(target, geometry, PanelStarCount, starSeed, whole);
        PictureGeometry working = ScaledGeometry(geometry, whole);
        DrawMoon(target, working, day.phaseDay, northern, BuiltInTextures(whole));
    } else {
        DrawStarsAt(target, geometry, PanelStarCount, starSeed, scale);
        PictureGeometry working = DeviceGeometry(geometry, scale);
        DrawMoon(target, working, day.phaseDay, northern,
                 BuiltInTexturesAt(scale, working.m_moonRect));
    }

    const std::int32_t h = geometry.m_clientRect.Height();
    for (const Row& row : Rows) {
        DrawPanelText(target, DeviceCoordinate(TextLeft, scale),
                      DeviceCoordinate(h - row.fromBottom, scale), day.*row.text, scale);
    }
}

void PreparePanel(const PictureGeometry& geometry, double scale) {
    scale = ClampDeviceScale(scale);
    if (IsWholeDeviceScale(scale)) {
        (void)BuiltInTextures(static_cast<int>(scale));
    } else {
        (void)BuiltInTexturesAt(scale, DeviceGeometry(geometry, scale).m_moonRect);
    }
    (void)PanelTextMetrics(scale);
}

std::vector<std::uint8_t> PanelPng(const MoonDay& day, bool northern, std::uint32_t starSeed,
                                   double scale) {
    const std::int32_t w = DeviceLength(PanelWidth, scale);
    const std::int32_t h = DeviceLength(PanelHeight, scale);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const PixelBuffer buffer{pixels.data(), w, h, w};
    DrawPanel(buffer, ComputeGeometry(PanelWidth, PanelHeight), day, northern, starSeed, scale);
    return EncodePng(buffer);
}

} // namespace norvale
