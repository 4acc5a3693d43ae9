#pragma once

// Phase shading of the Moon picture: the geometry of the panel, the starfield
// and the shaded disk, drawn into a caller-owned 32-bit RGB buffer. Plain C++,
// no toolkit types, so the drawing rules can be tested pixel by pixel.

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

// The picture geometry, fixed once from the client size W x H.
struct PictureGeometry {
    std::int32_t m_margin = 0;  // horizontal margin of the disk
    std::int32_t m_dayStep = 0; // terminator step per phase day, d / 14
    // The step in 1/1024 pixels when the picture is drawn at a fractional
    // device scale (DeviceGeometry); 0: whole pixels, m_dayStep.
    std::int32_t m_dayStepFine = 0;
    PixelRect m_clientRect;     // (0, 0, W, H)
    PixelRect m_moonRect;       // (12, 5, 12 + d, 5 + d)
    PixelRect m_terminatorRect; // working rectangle of the terminator ellipse
    PixelPoint m_arcTop;        // (W / 2, 5), top end of the split line
    PixelPoint m_arcBottom;     // (W / 2, 5 + d), bottom end of the split line

    std::int32_t Diameter() const { return m_moonRect.Width(); }
    std::int32_t SplitX() const { return m_arcTop.x; }
};

// The geometry for a client area of width w and height h, each clamped to
// 0 ... 2^24.
PictureGeometry ComputeGeometry(std::int32_t w, std::int32_t h);

// Every member of a geometry multiplied by scale (1 or more): the same
// picture on a screen with that many device pixels per logical pixel.
PictureGeometry ScaledGeometry(const PictureGeometry& geometry, std::int32_t scale);

// How far the terminator ellipse's sides move in from the disk's for k day
// steps: k * m_dayStep, or k fine steps rounded once to whole pixels.
std::int32_t TerminatorInset(const PictureGeometry& geometry, std::int32_t k);

// 0x00RRGGBB, the layout of a 32-bit RGB image row (QImage::Format_RGB32 keeps
// 0xFF in the top byte; writers here set it so the pixels stay opaque).
constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

inline constexpr std::uint32_t StarColour = Rgb(200, 200, 255);
inline constexpr std::uint32_t RimColour = Rgb(30, 30, 80);

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

// A surface texture, texels top row first, each 0xFFRRGGBB.
struct TextureView {
    const std::uint32_t* texels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;

    std::uint32_t At(std::int32_t x, std::int32_t y) const {
        return texels[static_cast<std::ptrdiff_t>(y) * width + x];
    }
};

// The run-time library's 15-bit linear congruential generator.
class StarRandom {
public:
    explicit StarRandom(std::uint32_t seed) : m_state(seed) {}
    std::int32_t Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<std::int32_t>((m_state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t m_state;
};

// The star seed of a moment: its second since 1970 truncated to 32 bits, so
// the stars change once a second and a fixed clock fixes them.
constexpr std::uint32_t StarSeedOfSecond(std::int64_t unixSeconds) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(unixSeconds));
}

// Scatters count stars over the client rectangle of the geometry: for each
// star a row (value mod H) then a column (value mod W). The buffer must be at
// least W x H. Seeded afresh with seed on every call.
void DrawStarsSeeded(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                     std::uint32_t seed);
// The stars of DrawStarsSeeded for the logical geometry, each drawn as a
// scale x scale block at scale times its position.
void DrawStarsScaled(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                     std::uint32_t seed, std::int32_t scale);

// The two registered surface textures.
struct MoonTextures {
    TextureView lit;
    TextureView dark;
};

// Draws the disk for a phase day in the Northern (true) or Southern view:
// lit disk with its rim, then the dark region. Resets and narrows the
// geometry's terminator rectangle. Nothing outside the disk is touched.
void DrawMoon(const PixelBuffer& target, PictureGeometry& geometry, int phaseDay, bool northern,
              const MoonTextures& textures);

} // namespace norvale
