#include "truemoon/LunarMap.h"

#include "resources/textures/LunarMapData.h"
#include "resources/textures/TextureData.h"
#include "shading/Bmp.h"

#include <cmath>
#include <string>
#include <utility>

namespace norvale {

LunarMap::LunarMap(std::int32_t width, std::int32_t height, std::vector<std::uint8_t> indices,
                   const std::array<std::uint32_t, 256>& lit,
                   const std::array<std::uint32_t, 256>& dark)
    : m_lit(lit), m_dark(dark) {
    if (width < 2 || height < 1 ||
        indices.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    m_levels.push_back({width, height, std::move(indices)});
}

const LunarMapLevel& LunarMap::Level(int n) {
    while (static_cast<int>(m_levels.size()) <= n) {
        const LunarMapLevel& from = m_levels.back();
        if (from.width < 4 || from.height < 2) {
            return from;
        }
        // Each texel the mean of the four it covers: the map is only ever
        // made smaller.
        LunarMapLevel next{from.width / 2, from.height / 2, {}};
        next.indices.resize(static_cast<std::size_t>(next.width) * next.height);
        for (std::int32_t y = 0; y < next.height; ++y) {
            const std::uint8_t* top = &from.indices[static_cast<std::size_t>(2 * y) * from.width];
            const std::uint8_t* bottom = top + from.width;
            for (std::int32_t x = 0; x < next.width; ++x) {
                next.indices[static_cast<std::size_t>(y) * next.width + x] =
                    static_cast<std::uint8_t>(
                        (top[2 * x] + top[2 * x + 1] + bottom[2 * x] + bottom[2 * x + 1] + 2) / 4);
            }
        }
        m_levels.push_back(std::move(next));
    }
    return m_levels[static_cast<std::size_t>(n)];
}

int LunarMap::LevelForRadius(double radius) const {
    if (m_levels.empty() || !(radius > 0.0)) {
        return 0;
    }
    // Texels of level 0 per radian along the equator, against the disk's
    // pixels per radian at its centre.
    const double texelsPerPixel = m_levels[0].width / (2.0 * 3.14159265358979323846) / radius;
    int level = 0;
    while (texelsPerPixel >= std::ldexp(2.0, level) && level < 8) {
        ++level;
    }
    return level;
}

LunarMap& BuiltInLunarMap() {
    static LunarMap map = [] {
        std::string error;
        BmpIndexed surface;
        BmpIndexed lit;
        BmpIndexed dark;
        if (!ReadBmpIndexed(LunarMapBmp(), LunarMapBmpSize(), surface, error) ||
            !ReadBmpIndexed(MoonLitBmp131, MoonLitBmp131Size, lit, error) ||
            !ReadBmpIndexed(MoonDarkBmp130, MoonDarkBmp130Size, dark, error)) {
            return LunarMap(0, 0, {}, {}, {});
        }
        return LunarMap(surface.width, surface.height, surface.indices, lit.palette, dark.palette);
    }();
    return map;
}

} // namespace norvale
