#pragma once

// The panel in Qt images: drawn by norvale_panel (panel/PanelDraw.h) straight
// into the image's pixels, so the window shows what `norvale-cli --png` writes.

#include "core/DateValue.h"
#include "core/MoonDay.h"
#include "panel/PanelDraw.h"
#include "shading/Shading.h"

#include <QImage>

#include <cstdint>

namespace norvale {

// Renders the panel of one day into image (made Format_RGB32) on a screen with
// scale device pixels per logical pixel (any scale from 1 to 8, fractional
// ones included; see DrawPanel): black fill, 55 stars from starSeed, the
// shaded Moon for the day's phase day, then the caption, age and illumination
// lines in white on black boxes. geometry is the logical one (the control
// keeps the geometry of its attach); image is DeviceLength of its client size,
// is drawn at the full resolution and is left with a device pixel ratio of
// scale.
void RenderPanel(QImage& image, const PictureGeometry& geometry, const MoonDay& day, bool northern,
                 std::uint32_t starSeed, double scale = 1.0);

// A new panel image of w x h logical pixels at a scale: DeviceLength(w) x
// DeviceLength(h) device pixels.
QImage RenderPanelImage(int w, int h, const MoonDay& day, bool northern, std::uint32_t starSeed,
                        double scale = 1.0);

// The same for a date, captioned against the clock's today: for tools and
// tests that start from a date.
QImage RenderPanelImage(int w, int h, const DateValue& date, bool northern, std::uint32_t starSeed,
                        double scale = 1.0);

} // namespace norvale
