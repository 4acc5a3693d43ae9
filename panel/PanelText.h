#pragma once

// The panel's text lines drawn without a toolkit: the panel face (see
// PanelFace.h) opened once with FreeType, its glyphs hinted by FreeType's
// auto-hinter so stems sit on whole pixel columns, and drawn white on black.
// Plain C++, no Qt.

#include "panel/PanelFace.h"
#include "shading/Shading.h"

#include <cstdint>
#include <string_view>

namespace norvale {

// The pixel size of the panel text at scale 1; scale 2 draws it at twice that.
inline constexpr int PanelTextPixels = 10;

// The glyph coverage c (0-1) becomes the grey level 255 * c^(1 / gamma).
inline constexpr double PanelTextGamma = 1.6;

// The vertical figures of a text line in device pixels. At scales 1 and 2: the
// 10-pixel face's ascent and descent rounded to whole pixels, times the scale,
// so the rows of the doubled panel sit exactly on the doubled rows of the
// plain one. At any other scale the line is the 1x line's height times the
// scale, rounded down (so lines that touch at 1x never overlap), and the
// descent is the face's own at the drawn size.
struct PanelLineMetrics {
    std::int32_t ascent = 0;
    std::int32_t descent = 0;

    std::int32_t Height() const { return ascent + descent; }
};

// How the text is drawn at a scale: the pixel size and FreeType's auto-hinter
// in its normal mode (stems on whole columns) or its light mode (rows only).
// Scale 1: 10 pixels, normal; scale 2: 20 pixels, light. Any other scale: the
// largest whole pixel size up to 10 x scale at which the widest lines of the
// panel's texts fit from x = 5 x scale to 135 x scale, in the normal mode
// below 12 pixels and the light mode from 12 (the other mode when only that
// one fits).
struct PanelTextStyle {
    int pixels = PanelTextPixels;
    bool light = false;

    friend bool operator==(const PanelTextStyle&, const PanelTextStyle&) = default;
};

// The scale reads as ClampDeviceScale does (below 1 as 1), here and below.
PanelTextStyle PanelTextStyleAt(double scale);
PanelLineMetrics PanelTextMetrics(double scale);

// The advance of a UTF-8 text in device pixels: the sum of the hinted glyph
// advances of the face in the style of the scale. 0 without a face.
std::int32_t PanelTextWidth(std::string_view text, double scale);

// How many rows the glyphs of a text reach above the baseline (the top row
// included) and below it, at a scale.
struct PanelInkRows {
    std::int32_t above = 0;
    std::int32_t below = 0;
};
PanelInkRows PanelTextInk(std::string_view text, double scale);

// Draws text with its top-left corner at (left, top), device pixels: an
// opaque black box as wide as its advance and as high as the line, then the
// glyphs in white over it, each pixel's grey level its gamma-corrected
// coverage. Nothing outside the box or the buffer is touched. Returns the box
// (before clipping to the buffer).
PixelRect DrawPanelText(const PixelBuffer& target, std::int32_t left, std::int32_t top,
                        std::string_view text, double scale);

// Whether the panel's face was found and opened: without it the three lines
// cannot be drawn, and a panel without them is a failure.
bool PanelTextAvailable();

// Whether a face file opens as the panel's face: a regular file (opened
// without blocking, so a named pipe or a device in its place is refused at
// once), a face FreeType reads at that index, settable to the panel's pixel
// size. The panel's own face is found with this check (PanelFaceLookUpSeam).
bool PanelFaceOpens(const FontFaceFile& file);

} // namespace norvale
