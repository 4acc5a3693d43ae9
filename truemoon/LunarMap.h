#pragma once

// The whole lunar map the true picture is drawn from: an equirectangular grid
// of brightness indices (longitude 0 at the centre, east to the right, north
// up) and the two palettes of the panel's textures that colour them, lit and
// dark. Smaller levels, each half the size of the one before, are made from
// it on first use; the map is never enlarged, only interpolated.

#include <array>
#include <cstdint>
#include <vector>

namespace norvale {

struct LunarMapLevel {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> indices; // top row first
};

class LunarMap {
public:
    // A map of width x height indices (top row first) under the two palettes
    // (0xFFRRGGBB, each rising from dark to bright).
    LunarMap(std::int32_t width, std::int32_t height, std::vector<std::uint8_t> indices,
             const std::array<std::uint32_t, 256>& lit, const std::array<std::uint32_t, 256>& dark);

    bool Empty() const { return m_levels.empty(); }
    // Level 0 is the map itself; level n is 2^n times smaller (at least 2 x 1),
    // each texel the rounded mean of the four it covers.
    const LunarMapLevel& Level(int n);
    // The level for a disk of radius pixels: the largest whose texels are no
    // larger than the picture's pixels at the disk's centre.
    int LevelForRadius(double radius) const;

    const std::array<std::uint32_t, 256>& Lit() const { return m_lit; }
    const std::array<std::uint32_t, 256>& Dark() const { return m_dark; }

private:
    std::vector<LunarMapLevel> m_levels;
    std::array<std::uint32_t, 256> m_lit{};
    std::array<std::uint32_t, 256> m_dark{};
};

// The map compiled into the program, coloured with the 1x textures' palettes;
// decoded once. Empty when the built-in data cannot be read (a damaged build).
LunarMap& BuiltInLunarMap();

} // namespace norvale
