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

} // namespace norvale
