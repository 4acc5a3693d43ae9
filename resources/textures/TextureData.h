#pragma once

// The surface textures as BMP file bytes, compiled into the program from
// resources/textures/*.bmp by resources/textures.cmake.

#include <cstddef>
#include <cstdint>

namespace norvale {

extern const std::uint8_t MoonLitBmp131[];
extern const std::size_t MoonLitBmp131Size;
extern const std::uint8_t MoonDarkBmp130[];
extern const std::size_t MoonDarkBmp130Size;

// The same surface at twice the resolution, for screens with a device pixel
// ratio of 2.
extern const std::uint8_t MoonLitBmp131x2[];
extern const std::size_t MoonLitBmp131x2Size;
extern const std::uint8_t MoonDarkBmp130x2[];
extern const std::size_t MoonDarkBmp130x2Size;

} // namespace norvale
