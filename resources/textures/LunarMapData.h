#pragma once

// The whole lunar map (resources/textures/moon-map.bmp) as BMP file bytes,
// compiled into the program by resources/textures.cmake.

#include <cstddef>
#include <cstdint>

extern "C" {
extern const std::uint8_t norvale_lunar_map_bmp[];
extern const std::uint8_t norvale_lunar_map_bmp_end[];
}

namespace norvale {

inline const std::uint8_t* LunarMapBmp() {
    return norvale_lunar_map_bmp;
}
inline std::size_t LunarMapBmpSize() {
    return static_cast<std::size_t>(norvale_lunar_map_bmp_end - norvale_lunar_map_bmp);
}

} // namespace norvale
