#pragma once

// The picture at any number of device pixels per logical pixel, drawn at the
// device's own size: the geometry, the stars and the surface textures for a
// scale such as 1.25, 1.5 or 1.75 (laptop screens), where a picture drawn at a
// whole scale and stretched would repeat every few columns and rows. Scales 1
// and 2 keep their own pixels (ScaledGeometry, DrawStarsScaled and the two
// built-in texture pairs). Plain C++, no Qt.

#include "shading/Shading.h"

namespace norvale {

// The largest device scale drawn at its own size.
inline constexpr double MaxDeviceScale = 8.0;

// A scale to draw at: below 1 (or not a number) reads as 1, above
// MaxDeviceScale as MaxDeviceScale, and within 1/10000 of a whole number as
// that number (a screen's ratio of 2.0000001 draws the pixels of 2).
double ClampDeviceScale(double scale);

// Whether scale is 1 or 2, the scales with textures of their own.
bool IsWholeDeviceScale(double scale);

// The device pixels that logical pixels 0 ... logical - 1 cover: the length
// times the scale, rounded up.
std::int32_t DeviceLength(std::int32_t logical, double scale);

// A logical coordinate in device pixels, rounded down.
std::int32_t DeviceCoordinate(std::int32_t logical, double scale);

// The logical geometry at a device scale: the client area DeviceLength in
// both directions; the disk round, its diameter the logical one times the
// scale rounded, centred where the logical centre falls; the split line at
// the scaled logical split, rounded; the day step kept in 1/1024 pixels so
// that k steps are rounded once. At 1 and 2 it equals ScaledGeometry.
PictureGeometry DeviceGeometry(const PictureGeometry& geometry, double scale);

// The side of a star at a scale: the scale rounded to whole pixels, at least 1.
std::int32_t StarSide(double scale);

// The stars of DrawStarsSeeded for the logical geometry, each a square of
// StarSide(scale) pixels centred on its logical pixel's centre times the
// scale, so every star has the same size. Nothing outside the buffer.
void DrawStarsAt(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                 std::uint32_t seed, double scale);

} // namespace norvale
