#pragma once

// The whole true picture: a black sky, stars, the Moon of an instant
// (TrueMoon.h) and, when asked for, three lines of text in the panel's font;
// and the picture as PNG bytes. Plain C++, no Qt.

#include "truemoon/TrueMoon.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace norvale {

// The largest picture: 8K UHD.
inline constexpr std::int32_t MaxTrueWidth = 7680;
inline constexpr std::int32_t MaxTrueHeight = 4320;
// The disk's diameter at the mean distance against the shorter side.
inline constexpr double DefaultMoonSize = 0.8;
// The disk's radius at the mean distance in the panel's 135 x 156 pixels,
// centred where the panel's disk is: at perigee (8 % larger) it still ends
// above the first text line.
inline constexpr double PanelTrueRadius = 52.0;

// Where things go in a picture.
struct TrueLayout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // The disk at the mean distance; its radius is scaled with the distance.
    DiskPlacement disk;
    int stars = 0;
    // The text lines' scale (as the panel's: 10 pixels at 1); 0 draws none.
    double textScale = 0.0;
};

// The panel's own size, 135 x 156 times scale (1 or 2), with its three text
// lines where the panel has them.
TrueLayout PanelTrueLayout(int scale);
// Any size: the disk centred, its diameter moonSize of the shorter side; the
// lines (when caption) at the lower left at a scale that grows with the
// shorter side. The star count grows with the picture's side.
TrueLayout SizedTrueLayout(std::int32_t width, std::int32_t height, double moonSize, bool caption);

// Draws the picture, or the band of its rows from firstRow on, into target
// (at least layout.width wide; its rows are the picture's rows firstRow,
// firstRow + 1, ...): black, layout.stars stars from starSeed (the panel's
// generator, a row then a column for each), the Moon of view with its radius
// times sizeScale, then the lines (white on black boxes) when the layout has
// text. A picture drawn in bands is the same as drawn whole.
void DrawTruePicture(const PixelBuffer& target, const TrueLayout& layout, const MoonView& view,
                     double sizeScale, std::uint32_t starSeed,
                     const std::array<std::string, 3>& lines, LunarMap& map,
                     std::int32_t firstRow = 0);

// The picture as PNG bytes; empty when it cannot be made.
std::vector<std::uint8_t> TruePicturePng(const TrueLayout& layout, const MoonView& view,
                                         double sizeScale, std::uint32_t starSeed,
                                         const std::array<std::string, 3>& lines);

} // namespace norvale
