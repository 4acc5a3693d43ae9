#pragma once

// The panel's text lines drawn without a toolkit: the panel face (see
// PanelFace.h) opened once with FreeType, its glyphs hinted by FreeType's
// auto-hinter so stems sit on whole pixel columns, and drawn white on black.
// Plain C++, no Qt.

#include "shading/Shading.h"

#include <cstdint>
#include <string_view>

namespace norvale {

// The pixel size of the panel text at scale 1; scale 2 draws it at twice that.
inline constexpr int PanelTextPixels = 10;

// The glyph coverage c (0-1) becomes the grey level 255 * c^(1 / gamma).
inline constexpr double PanelTextGamma = 1.6;

// The vertical figures of a text line in device pixels: the 10-pixel face's
// ascent and descent rounded to whole pixels, times the scale, so the rows of
// the doubled panel sit exactly on the doubled rows of the plain one.
struct PanelLineMetrics {
    std::int32_t ascent = 0;
    std::int32_t descent = 0;

    std::int32_t Height() const { return ascent + descent; }
};

// Scale 2 reads as 2; any other scale as 1 (here and below).
PanelLineMetrics PanelTextMetrics(int scale);

// The advance of a UTF-8 text in device pixels: the sum of the hinted glyph
// advances of the face at scale times 10 pixels. 0 without a face.
std::int32_t PanelTextWidth(std::string_view text, int scale);

// Draws text with its top-left corner at (left, top), device pixels: an
// opaque black box as wide as its advance and as high as the line, then the
// glyphs in white over it, each pixel's grey level its gamma-corrected
// coverage. Nothing outside the box or the buffer is touched. Returns the box
// (before clipping to the buffer).
PixelRect DrawPanelText(const PixelBuffer& target, std::int32_t left, std::int32_t top,
                        std::string_view text, int scale);

} // namespace norvale
