#pragma once

#include "shading/Shading.h"

namespace norvale {

inline constexpr std::int32_t TextureWidth = 193;
inline constexpr std::int32_t TextureHeight = 183;

// The built-in surface textures (bitmap 131 lit, 130 dark), decoded once on
// first use. Each call returns the same views.
// When the built-in data cannot be decoded (a damaged build) they
// are even surfaces of the mean colours and BuiltInTexturesAvailable() is false.
const MoonTextures& BuiltInTextures();
bool BuiltInTexturesAvailable();

// The pair for a device pixel ratio: scale 2 gives the 386 x 366 textures
// made from the same map for the doubled geometry; any other scale gives the
// 1x pair.
const MoonTextures& BuiltInTextures(int scale);

// The pair for any device scale (ClampDeviceScale), for a buffer whose
// rectangle `used` (the disk's) reads them: pixel (x, y) shows texel
// (x mod width, y mod height). 1 and 2 give the pairs above. Any other scale
// resamples the 2x pair to round(193 x scale) x round(183 x scale) texels, of
// which only those `used` reads are worked out (the others are the texture's
// mean colour). The two textures are one grey map under two palettes (each
// rising from dark to bright), so the map is resampled once: each texel takes
// the mean of the 2x palette indices its area covers (at least one texel wide,
// so a scale above 2 interpolates between neighbours) and the colour between
// the two palette entries around that mean. Made on first use for each size
// and rectangle and kept for the process (one per screen scale in practice).
const MoonTextures& BuiltInTexturesAt(double scale, const PixelRect& used);

} // namespace norvale
