#pragma once

#include "core/DateValue.h"
#include "picture/Shading.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>

namespace norvale {

inline constexpr int PanelWidth = 135;
inline constexpr int PanelHeight = 156;
inline constexpr int PanelStarCount = 55;

// Tops of the three text rows, counted from the bottom of the panel.
inline constexpr int CaptionRowFromBottom = 38;
inline constexpr int AgeRowFromBottom = 27;
inline constexpr int IlluminationRowFromBottom = 15;
inline constexpr int TextLeft = 5;

// Renders the whole panel into image (Format_RGB32, W x H): black fill, 55
// stars from starSeed, the shaded Moon for the phase day of date, then the
// caption, age and illumination lines in white on black boxes.
void RenderPanel(QImage& image, const DateValue& date, bool northern, std::uint32_t starSeed);

// Renders with a geometry fixed earlier (the control keeps the geometry of
// its attach) and a given text font; image must be at least the geometry's
// client size.
void RenderPanel(QImage& image, const PictureGeometry& geometry, const QFont& font,
                 const DateValue& date, bool northern, std::uint32_t starSeed);

// The same panel on a screen with scale device pixels per logical pixel
// (1 or 2): geometry is the logical one, image is scale times its client size
// and gets that device pixel ratio; the disk, stars and texts are drawn at the
// full resolution with the textures made for it. Scale 1 is the call above.
void RenderPanel(QImage& image, const PictureGeometry& geometry, const QFont& font,
                 const DateValue& date, bool northern, std::uint32_t starSeed, int scale);

// A new panel image of w x h logical pixels at a scale of 1 or 2.
QImage RenderPanelImage(int w, int h, const DateValue& date, bool northern, std::uint32_t starSeed,
                        int scale);

// The font of the three text lines: style 0, character height 10, "Tahoma".
QFont PanelFont();

// A new W x H image holding the panel.
QImage RenderPanelImage(int w, int h, const DateValue& date, bool northern, std::uint32_t starSeed);

// Writes the 135 x 156 panel as a PNG; false when the file cannot be written.
// Needs a QGuiApplication (the offscreen platform is enough).
bool WritePanelPng(const QString& path, const DateValue& date, bool northern,
                   std::uint32_t starSeed);

} // namespace norvale
