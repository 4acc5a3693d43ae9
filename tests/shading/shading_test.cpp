// Phase shading: geometry, disk shading in both views, starfield.

#include "shading/Shading.h"
#include "tests/shading/shading_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace norvale {
namespace {

using namespace test;

TEST(PictureGeometry, FollowsTheClientSize) {
    struct Case {
        std::int32_t w, h;
        PixelRect moon;
        std::int32_t step;
        std::int32_t split;
    };
    const Case cases[] = {
        {135, 156, {12, 5, 123, 116}, 7, 67}, // the panel of the main window
        {137, 158, {12, 5, 125, 118}, 8, 68}, {202, 240, {12, 5, 190, 183}, 12, 101},
        {24, 40, {12, 5, 12, 5}, 0, 12},  // no room for a disk
        {10, 40, {12, 5, -2, -9}, -1, 5}, // narrower than the margins: an empty disk
    };
    for (const Case& c : cases) {
        const PictureGeometry g = ComputeGeometry(c.w, c.h);
        EXPECT_EQ(g.m_margin, 12);
        EXPECT_EQ(g.m_clientRect, (PixelRect{0, 0, c.w, c.h}));
        EXPECT_EQ(g.m_moonRect, c.moon) << c.w;
        EXPECT_EQ(g.m_terminatorRect, c.moon);
        EXPECT_EQ(g.m_dayStep, c.step) << c.w;
        EXPECT_EQ(g.m_arcTop, (PixelPoint{c.split, 5}));
        EXPECT_EQ(g.m_arcBottom, (PixelPoint{c.split, c.moon.bottom}));
    }
}

TEST(DrawMoon, DiskFollowsThePixelModelAndNothingOutsideIsTouched) {
    for (int p : {-1, 0, 3, 7, 10, 14, 17, 21, 25, 28, 29, 40}) {
        for (bool northern : {true, false}) {
            const Canvas c = Draw(p, northern);
            for (std::int32_t y = 0; y < H; ++y) {
                for (std::int32_t x = 0; x < W; ++x) {
                    const Px kind = c.Kind(x, y);
                    ASSERT_NE(kind, Px::Other) << p << " at " << x << "," << y;
                    ASSERT_EQ(kind == Px::Background, !InDisk(x, y, c.geometry))
                        << p << " at " << x << "," << y;
                }
            }
        }
    }
}

// Columns of the equator row that are not dark (lit texels plus the rim),
// Northern view, for the worked panel: d = 111, s = 7, split at x = 67.
TEST(DrawMoon, EquatorRowOfEveryPhaseDayNorthern) {
    struct Case {
        int p;
        std::int32_t first; // first not-dark column, -1 for the rim-only rows
        std::int32_t last;
    };
    const Case cases[] = {
        {1, 116, 122}, {3, 102, 122}, {6, 81, 122},  {7, 67, 122},  {8, 54, 122},
        {13, 19, 122}, {14, 12, 122}, {15, 12, 115}, {20, 12, 80},  {21, 12, 66},
        {22, 12, 53},  {25, 12, 32},  {27, 12, 18},  {29, 12, 122}, {-1, 12, 122},
    };
    for (const Case& c : cases) {
        const Canvas canvas = Draw(c.p, true);
        const auto notDark = ColumnsOnRow(canvas, EquatorRow, {Px::Lit, Px::Rim});
        ASSERT_FALSE(notDark.empty()) << c.p;
        const auto rimColumns = ColumnsOnRow(canvas, EquatorRow, {Px::Rim});
        EXPECT_EQ(notDark.front(), c.first) << c.p;
        EXPECT_EQ(notDark.back(), c.last) << c.p;
        EXPECT_EQ(notDark.size(), static_cast<std::size_t>(c.last - c.first + 1)) << c.p;
        // The rim shows only where the disk is lit.
        for (std::int32_t x : rimColumns) {
            EXPECT_TRUE(x == 12 || x == 122) << c.p;
        }
    }
    // The right half of the 15 ... 20 cases is lit only inside the bulge.
    EXPECT_EQ(ColumnsOnRow(Draw(15, true), EquatorRow, {Px::Dark}).front(), 116);
}

TEST(DrawMoon, WorkedExampleDay3BothViews) {
    Canvas north = Draw(3, true);
    EXPECT_EQ(north.geometry.m_terminatorRect, (PixelRect{33, 5, 102, 116}));
    const auto litNorth = ColumnsOnRow(north, EquatorRow, {Px::Lit, Px::Rim});
    EXPECT_EQ(litNorth.front(), 102);
    EXPECT_EQ(litNorth.back(), 122);
    EXPECT_EQ(litNorth.size(), 21u);

    const Canvas south = Draw(3, false);
    const auto litSouth = ColumnsOnRow(south, EquatorRow, {Px::Lit, Px::Rim});
    EXPECT_EQ(litSouth.front(), 12);
    EXPECT_EQ(litSouth.back(), 32);
    EXPECT_EQ(litSouth.size(), 21u);
}

TEST(DrawMoon, Day6LeavesAHalfWidthOf13AndAHalf) {
    const Canvas c = Draw(6, true);
    EXPECT_EQ(c.geometry.m_terminatorRect, (PixelRect{54, 5, 81, 116}));
    EXPECT_EQ(c.geometry.m_terminatorRect.Width(), 27); // 2 x 13.5
    // The dark bulge right of the split reaches x = 80 (centre 80.5 < 67.5 + 13.5).
    EXPECT_EQ(ColumnsOnRow(c, EquatorRow, {Px::Dark}).back(), 80);
}

TEST(DrawMoon, NewFullAndBeyond) {
    const std::size_t diskPixels = [] {
        const PictureGeometry g = ComputeGeometry(W, H);
        std::size_t n = 0;
        for (std::int32_t y = 0; y < H; ++y) {
            for (std::int32_t x = 0; x < W; ++x) {
                n += InDisk(x, y, g) ? 1 : 0;
            }
        }
        return n;
    }();
    const Canvas full = Draw(14, true);
    const std::size_t rim = Count(full, Px::Rim);
    EXPECT_GT(rim, 300u);
    EXPECT_EQ(Count(full, Px::Lit) + rim, diskPixels);
    EXPECT_EQ(Count(full, Px::Dark), 0u);

    for (bool northern : {true, false}) {
        const Canvas newMoon = Draw(0, northern); // dark with the whole rim
        EXPECT_EQ(Count(newMoon, Px::Rim), rim);
        EXPECT_EQ(Count(newMoon, Px::Dark) + rim, diskPixels);
        const Canvas day28 = Draw(28, northern); // dark, no second rim
        EXPECT_EQ(Count(day28, Px::Rim), 0u);
        EXPECT_EQ(Count(day28, Px::Dark), diskPixels);
        for (int lit : {14, 29, 30, 1000, -1, -5}) {
            EXPECT_EQ(Draw(lit, northern).pixels, full.pixels) << lit;
        }
    }
}

// The rim is the ring of disk pixels with a neighbour (left, right, above,
// below) outside the disk; it shows where the disk is lit.
TEST(DrawMoon, RimIsTheDisksEdgeRing) {
    for (std::int32_t w : {135, 136, 61, 202}) {
        for (int p : {14, 3, 21}) {
            const Canvas c = Draw(p, true, w, w + 40);
            for (std::int32_t y = 0; y < c.height; ++y) {
                for (std::int32_t x = 0; x < c.width; ++x) {
                    const PictureGeometry& g = c.geometry;
                    const bool edge =
                        InDisk(x, y, g) && (!InDisk(x - 1, y, g) || !InDisk(x + 1, y, g) ||
                                            !InDisk(x, y - 1, g) || !InDisk(x, y + 1, g));
                    const Px kind = c.Kind(x, y);
                    if (kind == Px::Rim) {
                        ASSERT_TRUE(edge) << w << " p" << p << " at " << x << "," << y;
                    } else if (edge) {
                        ASSERT_EQ(kind, Px::Dark) << w << " p" << p << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(DrawMoon, QuartersOfOneViewAreTheOtherQuartersOfTheOther) {
    EXPECT_EQ(Draw(7, true).pixels, Draw(21, false).pixels);
    EXPECT_EQ(Draw(21, true).pixels, Draw(7, false).pixels);
    EXPECT_NE(Draw(7, true).pixels, Draw(7, false).pixels);
}

TEST(DrawMoon, SwitchingTheViewChangesOnlyWhichPixelsAreDark) {
    for (int p = 0; p <= 28; ++p) {
        const Canvas north = Draw(p, true);
        const Canvas south = Draw(p, false);
        std::size_t darkNorth = 0;
        std::size_t darkSouth = 0;
        for (std::int32_t y = 0; y < H; ++y) {
            for (std::int32_t x = 0; x < W; ++x) {
                const Px n = north.Kind(x, y);
                const Px s = south.Kind(x, y);
                // Both show the texel of their own position (checked by Kind).
                ASSERT_NE(n, Px::Other);
                ASSERT_NE(s, Px::Other);
                ASSERT_EQ(n == Px::Background, s == Px::Background);
                darkNorth += n == Px::Dark ? 1 : 0;
                darkSouth += s == Px::Dark ? 1 : 0;
            }
        }
        // Mirrored about the split line, the dark areas differ by at most
        // the split column's share.
        EXPECT_LE(darkNorth > darkSouth ? darkNorth - darkSouth : darkSouth - darkNorth, 111u) << p;
    }
}

// The Southern view mirrors the dark region left to right: pixel (x, y) is
// dark in it exactly when (W - 1 - x, y) is dark in the Northern view. The
// one exception is the split column x = W / 2 on the half-moon days, where
// "left half when x < W / 2" makes the split itself one-sided: that column
// is lit on the side whose dark half is the left one and dark on the other.
TEST(DrawMoon, SouthernDarkMaskIsTheNorthernMirrored) {
    const std::int32_t split = W / 2;
    for (int p = 0; p <= 28; ++p) {
        SCOPED_TRACE(p);
        const Canvas north = Draw(p, true);
        const Canvas south = Draw(p, false);
        const bool halfMoon = p == 7 || p == 21;
        for (std::int32_t y = 0; y < H; ++y) {
            for (std::int32_t x = 0; x < W; ++x) {
                const bool southDark = south.Kind(x, y) == Px::Dark;
                if (halfMoon && x == split) {
                    if (!InDisk(x, y, south.geometry)) {
                        continue;
                    }
                    // Day 7: the Northern dark half is the left one; day 21 the right.
                    ASSERT_EQ(north.Kind(x, y) == Px::Dark, p == 21) << y;
                    ASSERT_EQ(southDark, p == 7) << y;
                    continue;
                }
                ASSERT_EQ(southDark, north.Kind(W - 1 - x, y) == Px::Dark) << x << "," << y;
            }
        }
    }
}

TEST(DrawMoon, WaxingAndWaningGrowMonotonically) {
    std::size_t previous = 0;
    for (int p = 0; p <= 14; ++p) {
        const std::size_t lit = Count(Draw(p, true), Px::Lit);
        EXPECT_GE(lit, previous) << p;
        previous = lit;
    }
    for (int p = 15; p <= 28; ++p) {
        const std::size_t lit = Count(Draw(p, true), Px::Lit);
        EXPECT_LE(lit, previous) << p;
        previous = lit;
    }
}

TEST(DrawMoon, ClipsToASmallBufferAndTilesTextures) {
    // A wide panel puts the disk beyond the first texture tile: pixel x shows
    // texel x mod 193.
    const Canvas wide = Draw(14, true, 240, 60);
    for (std::int32_t y = 0; y < 60; ++y) {
        for (std::int32_t x = 0; x < 240; ++x) {
            ASSERT_NE(wide.Kind(x, y), Px::Other) << x << "," << y;
        }
    }
    EXPECT_EQ(wide.Kind(200, 55), Px::Lit);
    // Too narrow for a disk: nothing drawn.
    const Canvas narrow = Draw(14, true, 20, 20);
    EXPECT_EQ(Count(narrow, Px::Background), 400u);
    // A disk far taller than the buffer is cut at its bottom edge.
    const Canvas low = Draw(3, false, 135, 40);
    EXPECT_EQ(low.Kind(67, 39), Px::Dark);
    EXPECT_EQ(ComputeGeometry(-5, 1 << 30).m_clientRect, (PixelRect{0, 0, 0, 1 << 24}));
}

TEST(DrawStars, GeneratorAndPositions) {
    StarRandom random(1);
    const std::int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (std::int32_t value : expected) {
        EXPECT_EQ(random.Next(), value);
    }

    Canvas c(W, H);
    DrawStarsSeeded(c.Buffer(), c.geometry, 55, 1);
    StarRandom replay(1);
    std::set<std::pair<std::int32_t, std::int32_t>> stars;
    for (int i = 0; i < 55; ++i) {
        const std::int32_t y = replay.Next() % H; // row first
        const std::int32_t x = replay.Next() % W;
        stars.insert({x, y});
    }
    EXPECT_TRUE(stars.count({18467 % W, 41 % H}) == 1);
    for (std::int32_t y = 0; y < H; ++y) {
        for (std::int32_t x = 0; x < W; ++x) {
            const bool star = stars.count({x, y}) == 1;
            ASSERT_EQ(c.At(x, y), star ? StarColour : BlackSky) << x << "," << y;
        }
    }

    Canvas again(W, H);
    DrawStarsSeeded(again.Buffer(), again.geometry, 55, 1);
    EXPECT_EQ(again.pixels, c.pixels);
}

TEST(DrawStars, SeedOfASecondAndEmptyClientDrawsNothing) {
    // The seed of a moment is its second since 1970, truncated to 32 bits.
    EXPECT_EQ(StarSeedOfSecond(0x1'2345'6789), 0x2345'6789u);

    Canvas empty(4, 4);
    empty.geometry = ComputeGeometry(0, 0);
    DrawStarsSeeded(empty.Buffer(), empty.geometry, 55, 7);
    EXPECT_EQ(Count(empty, Px::Background), 16u);
}

} // namespace
} // namespace norvale
