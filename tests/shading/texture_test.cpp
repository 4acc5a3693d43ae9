// The built-in surface textures and the BMP reader behind them.

#include "resources/textures/TextureData.h"
#include "shading/Bmp.h"
#include "shading/Textures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace norvale {
namespace {

std::vector<std::uint8_t> LitBytes() {
    return {MoonLitBmp131, MoonLitBmp131 + MoonLitBmp131Size};
}

std::uint32_t Channel(std::uint32_t rgb, int channel) {
    return (rgb >> (16 - 8 * channel)) & 0xFF;
}

struct Stats {
    std::uint32_t low[3] = {255, 255, 255};
    std::uint32_t high[3] = {0, 0, 0};
    double mean[3] = {0, 0, 0};
};

Stats StatsOf(const TextureView& t) {
    Stats s;
    const std::size_t n = static_cast<std::size_t>(t.width) * t.height;
    for (std::size_t i = 0; i < n; ++i) {
        for (int c = 0; c < 3; ++c) {
            const std::uint32_t v = Channel(t.texels[i], c);
            s.low[c] = std::min(s.low[c], v);
            s.high[c] = std::max(s.high[c], v);
            s.mean[c] += v;
        }
    }
    for (double& m : s.mean) {
        m /= static_cast<double>(n);
    }
    return s;
}

TEST(Textures, BuiltInPairIsDecodedAtItsSize) {
    ASSERT_TRUE(BuiltInTexturesAvailable());
    const MoonTextures& t = BuiltInTextures();
    EXPECT_EQ(t.lit.width, 193);
    EXPECT_EQ(t.lit.height, 183);
    EXPECT_EQ(t.dark.width, 193);
    EXPECT_EQ(t.dark.height, 183);
    // Stored as 8-bit, 256-colour, uncompressed and bottom-up.
    for (const std::uint8_t* bytes : {MoonLitBmp131, MoonDarkBmp130}) {
        EXPECT_EQ(bytes[28], 8);                    // bits per pixel
        EXPECT_EQ(bytes[30], 0);                    // no compression
        EXPECT_EQ(bytes[46] | bytes[47] << 8, 256); // colours used
        EXPECT_LT(bytes[25], 0x80);                 // positive height: bottom-up
    }
}

// Channel ranges and means, each within 3 levels of the targets.
TEST(Textures, ChannelRangesAndMeans) {
    struct Case {
        const char* name;
        TextureView texture;
        std::uint32_t low[3];
        std::uint32_t high[3];
        double mean[3];
    };
    const MoonTextures& t = BuiltInTextures();
    const Case cases[] = {
        {"lit", t.lit, {131, 148, 167}, {255, 255, 255}, {200, 208, 218}},
        {"dark", t.dark, {10, 11, 13}, {90, 99, 109}, {51, 56, 62}},
    };
    for (const Case& c : cases) {
        const Stats s = StatsOf(c.texture);
        for (int ch = 0; ch < 3; ++ch) {
            EXPECT_NEAR(s.low[ch], c.low[ch], 3) << c.name << ch;
            EXPECT_NEAR(s.high[ch], c.high[ch], 3) << c.name << ch;
            EXPECT_NEAR(s.mean[ch], c.mean[ch], 3.0) << c.name << ch;
        }
    }
}

// Registered: both bitmaps hold the same palette index at every texel, and
// palette entry by entry the dark colour is the lit one darkened, with the
// order of brightness kept and a shift towards blue.
TEST(Textures, DarkIsARegisteredDarkenedCopyOfLit) {
    constexpr std::size_t PixelOffset = 1078;
    ASSERT_EQ(MoonLitBmp131Size, MoonDarkBmp130Size);
    EXPECT_EQ(std::memcmp(MoonLitBmp131 + PixelOffset, MoonDarkBmp130 + PixelOffset,
                          MoonLitBmp131Size - PixelOffset),
              0);

    const MoonTextures& t = BuiltInTextures();
    const std::size_t n = 193u * 183u;
    double ratioLit = 0;
    double ratioDark = 0;
    std::size_t distinct = 0;
    std::map<std::uint32_t, int> seen;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t lit = t.lit.texels[i];
        const std::uint32_t dark = t.dark.texels[i];
        for (int c = 0; c < 3; ++c) {
            ASSERT_LT(Channel(dark, c), Channel(lit, c)) << "texel " << i;
        }
        ratioLit += static_cast<double>(Channel(lit, 2)) / Channel(lit, 0);
        ratioDark += static_cast<double>(Channel(dark, 2)) / Channel(dark, 0);
        distinct += seen.emplace(lit, 0).second ? 1 : 0;
    }
    EXPECT_GT(distinct, 100u); // a real picture, not a flat fill
    EXPECT_GT(ratioDark / n, ratioLit / n + 0.05);

    // Palette order: brighter lit entries have brighter (or equal) dark ones.
    for (std::size_t i = 1; i < 256; ++i) {
        for (std::size_t c = 0; c < 3; ++c) {
            const std::size_t at = 54 + 4 * i + c;
            ASSERT_GE(MoonLitBmp131[at], MoonLitBmp131[at - 4]) << i;
            ASSERT_GE(MoonDarkBmp130[at], MoonDarkBmp130[at - 4]) << i;
        }
    }
}

TEST(Textures, MariaAreDarkerThanHighlandsWhereTheNearSideHasThem) {
    // Mare Imbrium sits north-west of the disk centre (67.5, 60.5), the
    // southern highlands below it.
    const TextureView lit = BuiltInTextures().lit;
    auto mean = [&](int x0, int y0) {
        double sum = 0;
        for (int y = y0; y < y0 + 6; ++y) {
            for (int x = x0; x < x0 + 6; ++x) {
                sum += Channel(lit.At(x, y), 0);
            }
        }
        return sum / 36;
    };
    EXPECT_LT(mean(50, 32), mean(70, 100) - 15);
}

TEST(BmpReader, ReadsTheBuiltInFormAndRejectsEverythingElse) {
    BmpImage image;
    std::string error;
    const std::vector<std::uint8_t> good = LitBytes();
    ASSERT_TRUE(ReadBmp(good.data(), good.size(), image, error)) << error;
    EXPECT_EQ(image.width, 193);
    EXPECT_EQ(image.pixels.size(), 193u * 183u);

    auto with = [&](std::size_t offset, std::uint32_t value, int bytes) {
        std::vector<std::uint8_t> b = good;
        for (int i = 0; i < bytes; ++i) {
            b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return b;
    };
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "too short"},
        {"headers only", {good.begin(), good.begin() + 54}, "too short"},
        {"cut in the pixels", {good.begin(), good.end() - 1}, "cut short"},
        {"cut after the palette", {good.begin(), good.begin() + 1078}, "cut short"},
        {"signature", with(0, 'X', 1), "signature"},
        {"info header size", with(14, 108, 4), "40-byte"},
        {"zero width", with(18, 0, 4), "width"},
        {"huge width", with(18, 0x7FFFFFFF, 4), "width"},
        {"top-down", with(22, static_cast<std::uint32_t>(-183), 4), "height"},
        {"planes", with(26, 2, 2), "plane"},
        {"24 bits", with(28, 24, 2), "8 bits"},
        {"4 bits", with(28, 4, 2), "8 bits"},
        {"RLE8", with(30, 1, 4), "compressed"},
        {"16 colours", with(46, 16, 4), "256"},
        {"pixels in the palette", with(10, 60, 4), "overlaps"},
        {"pixels beyond the end", with(10, 0xFFFFFF00u, 4), "cut short"},
        {"taller than the data", with(22, 184, 4), "cut short"},
        {"file size beyond the data", with(2, 0xFFFFFFFFu, 4), "cut short"},
    };
    for (const Case& c : cases) {
        BmpImage out;
        out.width = 5;
        std::string why;
        EXPECT_FALSE(ReadBmp(c.bytes.data(), c.bytes.size(), out, why)) << c.what;
        EXPECT_NE(why.find(c.reason), std::string::npos) << c.what << ": " << why;
        EXPECT_EQ(out.width, 0) << c.what;
        EXPECT_TRUE(out.pixels.empty()) << c.what;
    }
    EXPECT_FALSE(ReadBmp(nullptr, 100, image, error));
}

TEST(BmpReader, EveryTruncationIsRejected) {
    const std::vector<std::uint8_t> good = LitBytes();
    for (std::size_t size = 0; size < good.size(); size += 97) {
        // A copy of exactly size bytes, so AddressSanitizer sees any over-read.
        std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        BmpImage out;
        std::string error;
        ASSERT_FALSE(ReadBmp(cut.data(), cut.size(), out, error)) << size;
    }
}

TEST(BmpReader, RowPaddingAndBottomUpOrder) {
    // A 3 x 2 image: rows padded to 4 bytes, stored bottom row first.
    std::vector<std::uint8_t> b(14 + 40 + 1024 + 8, 0);
    auto put = [&](std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()));
    put(10, 1078);
    put(14, 40);
    put(18, 3);
    put(22, 2);
    b[26] = 1;
    b[28] = 8;
    b[54 + 4 * 1 + 2] = 0x11; // palette 1: red 0x11
    b[54 + 4 * 2 + 0] = 0x22; // palette 2: blue 0x22
    b[1078 + 0] = 1;          // bottom row: 1 0 0 (pad)
    b[1078 + 4 + 2] = 2;      // top row:    0 0 2 (pad)
    BmpImage image;
    std::string error;
    ASSERT_TRUE(ReadBmp(b.data(), b.size(), image, error)) << error;
    const std::vector<std::uint32_t> expected = {0xFF000000u, 0xFF000000u, 0xFF000022u,
                                                 0xFF110000u, 0xFF000000u, 0xFF000000u};
    EXPECT_EQ(image.pixels, expected);
}

} // namespace
} // namespace norvale
