// The true Moon's drawing rules that the geometry script does not measure.
#include "truemoon/TruePicture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace norvale {
namespace {

std::vector<std::uint32_t> Draw(std::int32_t width, std::int32_t height, const DiskPlacement& disk,
                                const MoonView& view) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, Rgb(0, 0, 0));
    DrawTrueMoon({pixels.data(), width, height, width}, disk, view, BuiltInLunarMap());
    return pixels;
}

int Channel(std::uint32_t p, int shift) {
    return static_cast<int>(p >> shift & 0xFFu);
}

// Fault: the southern view mirrored left to right as the panel mirrors its
// dark part; turned half around, the surface's north goes down as well.
TEST(TrueMoon, TheSouthernViewIsTheNorthernOneTurnedHalfAround) {
    ASSERT_FALSE(BuiltInLunarMap().Empty());
    constexpr int Side = 101;
    const DiskPlacement disk{Side / 2.0, Side / 2.0, 45.0};
    // A waxing gibbous Moon with some libration and a tilted axis.
    MoonView view{60.0, 250.0, -12.0, 4.0, -3.0, 0.0};
    const auto north = Draw(Side, Side, disk, view);
    view.up = 180.0;
    const auto south = Draw(Side, Side, disk, view);
    int worst = 0;
    for (int y = 0; y < Side; ++y) {
        for (int x = 0; x < Side; ++x) {
            const std::uint32_t a = north[static_cast<std::size_t>(y) * Side + x];
            const std::uint32_t b =
                south[static_cast<std::size_t>(Side - 1 - y) * Side + (Side - 1 - x)];
            for (int shift : {0, 8, 16}) {
                worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
            }
        }
    }
    // Rounding of the sines of 180 degrees only.
    EXPECT_LE(worst, 2);
}

// Fault: a disk larger than the map (about 330 pixels) drawn with the nearest
// texel, in blocks of equal pixels; it must be interpolated smoothly.
TEST(TrueMoon, ADiskLargerThanTheMapIsSmoothNotBlocky) {
    constexpr int Side = 400;
    // The middle of a disk 2000 pixels across: six pixels a map texel.
    const DiskPlacement disk{Side / 2.0, Side / 2.0, 1000.0};
    const auto pixels = Draw(Side, Side, disk, MoonView{});
    int equal = 0;
    int pairs = 0;
    for (int y = 0; y < Side; ++y) {
        for (int x = 1; x < Side; ++x) {
            ++pairs;
            equal += pixels[static_cast<std::size_t>(y) * Side + x] ==
                             pixels[static_cast<std::size_t>(y) * Side + x - 1]
                         ? 1
                         : 0;
        }
    }
    // Nearest texels leave about five in six neighbours equal.
    EXPECT_LT(equal, pairs / 5) << equal << " of " << pairs;
}

} // namespace
} // namespace norvale
