#pragma once

// What the shading tests share: a canvas with the panel geometry, textures
// whose texels name their own position, and ways to read the drawn pixels.

#include "shading/Shading.h"

#include <cstdint>
#include <set>
#include <vector>

namespace norvale::test {

constexpr std::int32_t W = 135;
constexpr std::int32_t H = 156;
constexpr std::int32_t EquatorRow = 60; // pixel centre 60.5 is the disk centre's row
constexpr std::uint32_t BlackSky = 0xFF000000u;

// Textures whose texels name their own position and copy: red = column,
// green = row, blue 200 (lit) or 100 (dark).
struct PositionTextures {
    std::vector<std::uint32_t> lit;
    std::vector<std::uint32_t> dark;
    MoonTextures views;

    PositionTextures() {
        for (std::uint32_t y = 0; y < 183; ++y) {
            for (std::uint32_t x = 0; x < 193; ++x) {
                lit.push_back(Rgb(x, y, 200));
                dark.push_back(Rgb(x, y, 100));
            }
        }
        views.lit = {lit.data(), 193, 183};
        views.dark = {dark.data(), 193, 183};
    }
};

enum class Px { Background, Lit, Dark, Rim, Other };

struct Canvas {
    std::int32_t width;
    std::int32_t height;
    std::vector<std::uint32_t> pixels;
    PictureGeometry geometry;

    Canvas(std::int32_t w, std::int32_t h)
        : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, BlackSky),
          geometry(ComputeGeometry(w, h)) {}

    PixelBuffer Buffer() { return {pixels.data(), width, height, width}; }
    std::uint32_t At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }

    // What pixel (x, y) shows; a texel counts only at its own position.
    Px Kind(std::int32_t x, std::int32_t y) const {
        const std::uint32_t p = At(x, y);
        if (p == BlackSky) {
            return Px::Background;
        }
        if (p == RimColour) {
            return Px::Rim;
        }
        const std::uint32_t ownPosition =
            Rgb(static_cast<std::uint32_t>(x % 193), static_cast<std::uint32_t>(y % 183), 0);
        if ((p & 0xFFFFFF00u) == (ownPosition & 0xFFFFFF00u)) {
            if ((p & 0xFFu) == 200) {
                return Px::Lit;
            }
            if ((p & 0xFFu) == 100) {
                return Px::Dark;
            }
        }
        return Px::Other;
    }
};

inline const PositionTextures& Textures() {
    static const PositionTextures textures;
    return textures;
}

inline Canvas Draw(int phaseDay, bool northern, std::int32_t w = W, std::int32_t h = H) {
    Canvas canvas(w, h);
    DrawMoon(canvas.Buffer(), canvas.geometry, phaseDay, northern, Textures().views);
    return canvas;
}

// Disk membership straight from the pixel model (pixel centre inside the circle).
inline bool InDisk(std::int32_t x, std::int32_t y, const PictureGeometry& g) {
    const double r = g.Diameter() / 2.0;
    const double dx = x + 0.5 - (g.m_moonRect.left + r);
    const double dy = y + 0.5 - (g.m_moonRect.top + r);
    return dx * dx + dy * dy < r * r;
}

inline std::vector<std::int32_t> ColumnsOnRow(const Canvas& c, std::int32_t y, std::set<Px> kinds) {
    std::vector<std::int32_t> columns;
    for (std::int32_t x = 0; x < c.width; ++x) {
        if (kinds.count(c.Kind(x, y)) != 0) {
            columns.push_back(x);
        }
    }
    return columns;
}

inline std::size_t Count(const Canvas& c, Px kind) {
    std::size_t n = 0;
    for (std::int32_t y = 0; y < c.height; ++y) {
        for (std::int32_t x = 0; x < c.width; ++x) {
            n += c.Kind(x, y) == kind ? 1 : 0;
        }
    }
    return n;
}

} // namespace norvale::test
