// The whole panel without Qt: outside its three text boxes exactly the
// shading's stars and disk, the boxes on their rows, the PNG of the panel.

#include "core/MoonDay.h"
#include "panel/PanelDraw.h"
#include "panel/PanelText.h"
#include "shading/DeviceScale.h"
#include "shading/Textures.h"
#include "tests/support/PngDecode.h"

#include "tests/core/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace norvale {
namespace {

DateValue Day(int year, int month, int day) {
    return test::MakeDate(year, month, day, 12);
}

// A colour the panel never draws (not grey, not the star colour).
constexpr std::uint32_t Unpainted = 0xFF123456u;

struct Picture {
    std::vector<std::uint32_t> pixels;
    PixelBuffer buffer;

    Picture(std::int32_t w, std::int32_t h, std::uint32_t fill = Unpainted)
        : pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill),
          buffer{pixels.data(), w, h, w} {}
};

bool Contains(const PixelRect& b, std::int32_t x, std::int32_t y) {
    return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

bool Inside(const std::array<PixelRect, 3>& boxes, std::int32_t x, std::int32_t y) {
    return Contains(boxes[0], x, y) || Contains(boxes[1], x, y) || Contains(boxes[2], x, y);
}

// Opaque, with red, green and blue equal.
bool IsGrey(std::uint32_t p) {
    return p >> 24 == 0xFFu && (p >> 16 & 0xFFu) == (p & 0xFFu) && (p >> 8 & 0xFFu) == (p & 0xFFu);
}

// Days of every phase shape, both views, a few seeds, both scales: every
// pixel outside the boxes is what the fill, the stars and the disk make;
// inside them only greys, with ink on every row.
TEST(DrawPanel, OutsideTheTextBoxesExactlyTheStarsAndTheDisk) {
    const DateValue today = Day(2026, 12, 7);
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    for (const DateValue& date :
         {Day(2002, 1, 13), Day(2002, 1, 16), Day(2026, 12, 14), Day(2026, 12, 20), Day(2027, 1, 1),
          DateValue(0.0, DateStatus::invalid)}) {
        const MoonDay day = MakeMoonDay(date, today);
        for (int scale : {1, 2}) {
            const auto boxes = PanelTextBoxes(day, PanelHeight, scale);
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                const int fromBottom[] = {CaptionRowFromBottom, AgeRowFromBottom,
                                          IlluminationRowFromBottom};
                EXPECT_EQ(boxes[i].left, TextLeft * scale);
                EXPECT_EQ(boxes[i].top, (PanelHeight - fromBottom[i]) * scale);
                EXPECT_EQ(boxes[i].Height(), PanelTextMetrics(scale).Height());
            }
            for (bool northern : {true, false}) {
                for (std::uint32_t seed : {1u, 42u, 1796601600u}) {
                    Picture panel(PanelWidth * scale, PanelHeight * scale);
                    DrawPanel(panel.buffer, geometry, day, northern, seed, scale);

                    Picture sky(PanelWidth * scale, PanelHeight * scale);
                    std::fill(sky.pixels.begin(), sky.pixels.end(), Rgb(0, 0, 0));
                    DrawStarsScaled(sky.buffer, geometry, PanelStarCount, seed, scale);
                    PictureGeometry working = ScaledGeometry(geometry, scale);
                    DrawMoon(sky.buffer, working, day.phaseDay, northern, BuiltInTextures(scale));

                    int ink[3] = {0, 0, 0};
                    for (std::int32_t y = 0; y < panel.buffer.height; ++y) {
                        for (std::int32_t x = 0; x < panel.buffer.width; ++x) {
                            const std::uint32_t p = panel.buffer.At(x, y);
                            if (!Inside(boxes, x, y)) {
                                ASSERT_EQ(p, sky.buffer.At(x, y))
                                    << day.caption << " scale " << scale << " seed " << seed
                                    << " at " << x << "," << y;
                                continue;
                            }
                            ASSERT_TRUE(IsGrey(p)) << x << "," << y;
                            for (std::size_t i = 0; i < 3; ++i) {
                                ink[i] += Contains(boxes[i], x, y) && (p & 0xFFu) != 0 ? 1 : 0;
                            }
                        }
                    }
                    for (int count : ink) {
                        EXPECT_GT(count, 50 * scale * scale) << day.caption;
                    }
                }
            }
        }
    }
}

TEST(PanelPng, ReadsBackAsThePanelItDraws) {
    const MoonDay day = MakeMoonDay(Day(2026, 12, 20), Day(2026, 12, 7));
    for (int scale : {1, 2}) {
        Picture panel(PanelWidth * scale, PanelHeight * scale);
        DrawPanel(panel.buffer, ComputeGeometry(PanelWidth, PanelHeight), day, false, 9, scale);
        const auto decoded = test::DecodePng(PanelPng(day, false, 9, scale));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, PanelWidth * scale);
        EXPECT_EQ(decoded->height, PanelHeight * scale);
        EXPECT_TRUE(decoded->pixels == panel.pixels) << "scale " << scale;
    }
}

// A buffer smaller or larger than the geometry (a control resized after its
// attach, odd sizes): every pixel of it is painted, nothing outside it.
TEST(DrawPanel, BuffersOfAnySize) {
    const MoonDay day = MakeMoonDay(Day(2026, 1, 1), Day(2026, 12, 7));
    struct Case {
        std::int32_t w, h;   // the geometry's client size
        std::int32_t bw, bh; // the buffer
    };
    for (const Case c : {Case{135, 156, 60, 50}, Case{135, 156, 300, 400}, Case{10, 10, 10, 10},
                         Case{1, 300, 1, 300}, Case{300, 40, 300, 40}, Case{135, 156, 1, 1}}) {
        for (int scale : {1, 2}) {
            // One spare row below the buffer catches a write past its end.
            Picture picture(c.bw * scale, c.bh * scale + 1);
            PixelBuffer buffer = picture.buffer;
            buffer.height -= 1;
            DrawPanel(buffer, ComputeGeometry(c.w, c.h), day, true, 5, scale);
            for (std::int32_t y = 0; y <= buffer.height; ++y) {
                for (std::int32_t x = 0; x < buffer.width; ++x) {
                    ASSERT_EQ(picture.buffer.At(x, y) == Unpainted, y == buffer.height)
                        << c.bw << "x" << c.bh << " scale " << scale << " at " << x << "," << y;
                }
            }
        }
    }
}

// The lit texture and the rim against the sky, the dark texture and the stars.
bool Lit(std::uint32_t p) {
    return (p >> 16 & 0xFFu) > 120 || p == RimColour;
}

// Lit pixels in row y.
int LitInRow(const PixelBuffer& b, std::int32_t y) {
    int lit = 0;
    for (std::int32_t x = 0; x < b.width; ++x) {
        lit += Lit(b.At(x, y)) ? 1 : 0;
    }
    return lit;
}

// Scales between and beyond the whole ones (laptop screens) draw at the
// device's own size. A whole-scale panel stretched to that size repeats a
// column and a row every few pixels (every fourth at 1.25), and a day step
// rounded to whole device pixels moves the terminator by up to six roundings
// (3 pixels at 1.5). Here the full disk is round and centred where the
// logical disk falls, its textured columns and rows never repeat, and the lit
// part of the equator on every phase day is the 1x part times the scale.
TEST(DrawPanel, FractionalScalesDrawAtTheDeviceSize) {
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    MoonDay day = MakeMoonDay(Day(2026, 12, 20), Day(2026, 12, 7));
    Picture one(PanelWidth, PanelHeight);
    const std::int32_t equator1x = 60;
    for (double scale : {1.1, 1.25, 1.5, 1.75, 2.5, 3.0}) {
        const std::int32_t w = DeviceLength(PanelWidth, scale);
        const std::int32_t h = DeviceLength(PanelHeight, scale);
        Picture panel(w, h);
        day.phaseDay = 14;
        DrawPanel(panel.buffer, geometry, day, true, 42, scale);

        const double diameter = 111 * scale;
        const double cx = 67.5 * scale;
        const double cy = 60.5 * scale;
        const auto ex = static_cast<std::int32_t>(cx);
        const auto ey = static_cast<std::int32_t>(cy);
        std::int32_t left = w;
        std::int32_t right = -1;
        for (std::int32_t x = 0; x < w; ++x) {
            if (Lit(panel.buffer.At(x, ey))) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        std::int32_t top = h;
        std::int32_t bottom = -1;
        for (std::int32_t y = 0; y < DeviceCoordinate(PanelHeight - CaptionRowFromBottom, scale);
             ++y) {
            if (Lit(panel.buffer.At(ex, y))) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        EXPECT_NEAR(right + 1 - left, diameter, 1.0) << scale;
        EXPECT_NEAR(bottom + 1 - top, diameter, 1.0) << scale;
        EXPECT_EQ(right - left, bottom - top) << scale;
        EXPECT_NEAR((left + right + 1) / 2.0, cx, 1.0) << scale;
        EXPECT_NEAR((top + bottom + 1) / 2.0, cy, 1.0) << scale;

        // The middle half of the disk: no column equals its right neighbour,
        // no row the one below it.
        const auto quarter = static_cast<std::int32_t>(diameter / 4);
        for (std::int32_t x = ex - quarter; x < ex + quarter; ++x) {
            bool same = true;
            for (std::int32_t y = ey - quarter; y < ey + quarter && same; ++y) {
                same = panel.buffer.At(x, y) == panel.buffer.At(x + 1, y);
            }
            ASSERT_FALSE(same) << "scale " << scale << ": column " << x << " repeats";
        }
        for (std::int32_t y = ey - quarter; y < ey + quarter; ++y) {
            bool same = true;
            for (std::int32_t x = ex - quarter; x < ex + quarter && same; ++x) {
                same = panel.buffer.At(x, y) == panel.buffer.At(x, y + 1);
            }
            ASSERT_FALSE(same) << "scale " << scale << ": row " << y << " repeats";
        }

        for (int phaseDay = 1; phaseDay < 28; ++phaseDay) {
            day.phaseDay = phaseDay;
            DrawPanel(one.buffer, geometry, day, true, 42, 1);
            DrawPanel(panel.buffer, geometry, day, true, 42, scale);
            EXPECT_NEAR(LitInRow(panel.buffer, ey), LitInRow(one.buffer, equator1x) * scale, 1.0)
                << "scale " << scale << ", phase day " << phaseDay;
        }
    }
}

} // namespace
} // namespace norvale
