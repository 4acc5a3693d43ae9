#pragma once

// The whole Moon panel of one day drawn into an RGB buffer without a toolkit:
// black, the stars, the shaded disk and the three text lines; and the panel as
// PNG bytes. The window's picture and `norvale-cli --png` draw through here,
// so both show the same pixels for the same day, seed and hemisphere.

#include "core/MoonDay.h"
#include "panel/PanelLayout.h"
#include "shading/Shading.h"

#include <array>
#include <cstdint>
#include <vector>

namespace norvale {

// The boxes of the caption, age and illumination lines in device pixels, for
// a client area clientHeight logical pixels high: left TextLeft and the tops
// above, times the scale and rounded down (DeviceCoordinate); as wide as the
// text's advance at that scale and as high as the line (PanelTextMetrics).
std::array<PixelRect, 3> PanelTextBoxes(const MoonDay& day, std::int32_t clientHeight,
                                        double scale);

// Draws the panel of day into target at a device scale (device pixels per
// logical pixel, ClampDeviceScale: below 1 reads as 1): the whole buffer
// black, 55 stars from starSeed, the disk for the day's phase day in the
// Northern (true) or Southern view, then the three lines, each white on its
// black box. Scales 1 and 2 draw with their own textures, the stars as
// scale x scale blocks; any other scale draws at the device's own size
// (DeviceGeometry, DrawStarsAt, BuiltInTexturesAt and the text at its own
// pixel size), never a whole-scale picture stretched. geometry is the logical
// one; the buffer is meant to be DeviceLength of its client size, and
// nothing is drawn outside the buffer.
void DrawPanel(const PixelBuffer& target, const PictureGeometry& geometry, const MoonDay& day,
               bool northern, std::uint32_t starSeed, double scale = 1.0);

// Makes now what DrawPanel needs at a scale and does once (the textures for
// the scale, resampled at a fractional scale, and the text face with its
// style for the scale), rather than in the first DrawPanel.
void PreparePanel(const PictureGeometry& geometry, double scale);

// The 135 x 156 panel at a device scale (DeviceLength of both sides) as PNG
// bytes; empty if it cannot be encoded.
std::vector<std::uint8_t> PanelPng(const MoonDay& day, bool northern, std::uint32_t starSeed,
                                   double scale = 1.0);

} // namespace norvale
