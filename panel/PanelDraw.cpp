#include "panel/PanelDraw.h"

#include "panel/PanelText.h"
#include "png/Png.h"
#include "shading/Textures.h"

#include <algorithm>
#include <string>

namespace norvale {

namespace {

int ScaleOf(int scale) {
    return scale == 2 ? 2 : 1;
}

struct Row {
    int fromBottom;
    const std::string MoonDay::*text;
};

constexpr std::array<Row, 3> Rows = {{{CaptionRowFromBottom, &MoonDay::caption},
                                      {AgeRowFromBottom, &MoonDay::ageText},
                                      {IlluminationRowFromBottom, &MoonDay::illuminationText}}};

} // namespace

std::array<PixelRect, 3> PanelTextBoxes(const MoonDay& day, std::int32_t clientHeight, int scale) {
    scale = ScaleOf(scale);
    const std::int32_t height = PanelTextMetrics(scale).Height();
    std::array<PixelRect, 3> boxes;
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const std::int32_t left = TextLeft * scale;
        const std::int32_t top = (clientHeight - Rows[i].fromBottom) * scale;
        boxes[i] = {left, top, left + PanelTextWidth(day.*Rows[i].text, scale), top + height};
    }
    return boxes;
}

void DrawPanel(const PixelBuffer& target, const PictureGeometry& geometry, const MoonDay& day,
               bool northern, std::uint32_t starSeed, int scale) {
    if (target.pixels == nullptr || target.width <= 0 || target.height <= 0) {
        return;
    }
    scale = ScaleOf(scale);
    for (std::int32_t y = 0; y < target.height; ++y) {
        std::fill_n(&target.At(0, y), target.width, Rgb(0, 0, 0));
    }
    DrawStarsScaled(target, geometry, PanelStarCount, starSeed, scale);
    PictureGeometry working = ScaledGeometry(geometry, scale);
    DrawMoon(target, working, day.phaseDay, northern, BuiltInTextures(scale));

    const std::int32_t h = geometry.m_clientRect.Height();
    for (const Row& row : Rows) {
        DrawPanelText(target, TextLeft * scale, (h - row.fromBottom) * scale, day.*row.text, scale);
    }
}

std::vector<std::uint8_t> PanelPng(const MoonDay& day, bool northern, std::uint32_t starSeed,
                                   int scale) {
    scale = ScaleOf(scale);
    const std::int32_t w = PanelWidth * scale;
    const std::int32_t h = PanelHeight * scale;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const PixelBuffer buffer{pixels.data(), w, h, w};
    DrawPanel(buffer, ComputeGeometry(PanelWidth, PanelHeight), day, northern, starSeed, scale);
    return EncodePng(buffer);
}

} // namespace norvale
