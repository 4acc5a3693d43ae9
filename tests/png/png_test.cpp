// PNG encoding in memory: what is encoded reads back pixel for pixel.

#include "png/Png.h"

#include "tests/support/PngDecode.h"

#include <gtest/gtest.h>

#include <vector>

namespace norvale {
namespace {

// Every channel of every pixel differs from its neighbours' and from the
// other channels, and the top byte varies: a swapped channel, a wrong stride
// or row order, or a top byte taken for alpha shows.
std::uint32_t Pattern(std::int32_t x, std::int32_t y) {
    const auto u = static_cast<std::uint32_t>(x * 7 + y * 131);
    return ((u * 37u) << 24) | ((u & 0xFFu) << 16) | (((u * 3u + 1u) & 0xFFu) << 8) |
           ((u * 5u + 2u) & 0xFFu);
}

TEST(EncodePng, ReadsBackAsTheRgbOfEveryPixel) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::int32_t stride;
    };
    for (const Case c : {Case{1, 1, 1}, Case{3, 2, 5}, Case{135, 156, 135}, Case{270, 312, 300}}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(c.stride) * c.height);
        for (std::int32_t y = 0; y < c.height; ++y) {
            for (std::int32_t x = 0; x < c.stride; ++x) {
                pixels[static_cast<std::size_t>(y * c.stride + x)] = Pattern(x, y);
            }
        }
        const PixelBuffer buffer{pixels.data(), c.width, c.height, c.stride};
        const auto decoded = test::DecodePng(EncodePng(buffer));
        ASSERT_TRUE(decoded) << c.width << "x" << c.height;
        ASSERT_EQ(decoded->width, c.width);
        ASSERT_EQ(decoded->height, c.height);
        EXPECT_FALSE(decoded->alpha);
        for (std::int32_t y = 0; y < c.height; ++y) {
            for (std::int32_t x = 0; x < c.width; ++x) {
                ASSERT_EQ(decoded->pixels[static_cast<std::size_t>(y * c.width + x)],
                          0xFF000000u | (buffer.At(x, y) & 0xFFFFFFu))
                    << c.width << "x" << c.height << " at " << x << "," << y;
            }
        }
    }
}

TEST(EncodePng, RefusesBuffersItCannotRead) {
    std::vector<std::uint32_t> pixels(16, 0xFF102030u);
    for (const PixelBuffer& b :
         {PixelBuffer{nullptr, 2, 2, 2}, PixelBuffer{pixels.data(), 0, 2, 2},
          PixelBuffer{pixels.data(), 2, 0, 2}, PixelBuffer{pixels.data(), -1, 2, 2},
          PixelBuffer{pixels.data(), 4, 2, 3}}) {
        EXPECT_TRUE(EncodePng(b).empty()) << b.width << "x" << b.height << " stride " << b.stride;
    }
}

} // namespace
} // namespace norvale
