#pragma once

// The plain pixel types every drawing layer shares: rectangles and points in
// whole pixels, 32-bit RGB values and a view of a caller-owned RGB buffer, and
// the star seed of a moment. Header only, no toolkit types, no code.

#include <cstddef>
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

// 0x00RRGGBB, the layout of a 32-bit RGB image row (QImage::Format_RGB32 keeps
// 0xFF in the top byte; writers here set it so the pixels stay opaque).
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// A view of a caller-owned 32-bit buffer; stride is in pixels.
struct PixelBuffer {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;

    std::uint32_t& At(std::int32_t x, std::int32_t y) const {
        return pixels[static_cast<std::ptrdiff_t>(y) * stride + x];
    }
};

// The star seed of a moment: its second since 1970 truncated to 32 bits, so
// the stars change once a second and a fixed clock fixes them.
constexpr std::uint32_t StarSeedOfSecond(std::int64_t unixSeconds) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds));
}

} // namespace norvale
