#pragma once

// Phase shading of the Moon picture: the geometry of the panel, the starfield
// and the shaded disk, drawn into a caller-owned 32-bit RGB buffer. Plain C++,
// no toolkit types, so the drawing rules can be tested pixel by pixel.

#include "pixels/Pixels.h"

#include <cstdint>

namespace norvale {

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

inline constexpr std::uint32_t StarColour = Rgb(200, 200, 255);
inline constexpr std::uint32_t RimColour = Rgb(30, 30, 80);

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
