#pragma once

#include <cstdint>

namespace norvale {

// A rectangle with exclusive right and bottom edges: it covers the columns
// left ... right - 1 and the rows top ... bottom - 1, so a point lies inside
// when left <= x < right and top <= y < bottom. The picture's geometry and
// the window's rectangles both use it.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    constexpr std::int32_t Width() const { return right - left; }
    constexpr std::int32_t Height() const { return bottom - top; }
    constexpr bool Contains(std::int32_t x, std::int32_t y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    constexpr PixelRect Offset(std::int32_t dx, std::int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend constexpr bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

} // namespace norvale
