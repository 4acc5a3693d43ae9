#include "picture/Shading.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace norvale {

namespace {

constexpr std::int32_t DiskMargin = 12;
constexpr std::int32_t DiskTop = 5;

StarSeedSource& SeedSourceSlot() {
    static StarSeedSource source;
    return source;
}

std::uint32_t ClockSeed() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds));
}

// Pixel tests in doubled coordinates, so every comparison is exact integer
// arithmetic: a pixel centre x + 0.5 becomes 2x + 1, the disk centre
// 12 + d/2 becomes 24 + d, the radius d/2 becomes d.
struct DiskModel {
    std::int64_t centre2x = 0; // doubled centre column
    std::int64_t centre2y = 0; // doubled centre row
    std::int64_t diameter = 0; // doubled radius

    std::int64_t Dx(std::int32_t x) const { return 2 * std::int64_t{x} + 1 - centre2x; }
    std::int64_t Dy(std::int32_t y) const { return 2 * std::int64_t{y} + 1 - centre2y; }

    bool InDisk(std::int32_t x, std::int32_t y) const {
        const std::int64_t dx = Dx(x);
        const std::int64_t dy = Dy(y);
        return dx * dx + dy * dy < diameter * diameter;
    }

    // Inside the ellipse of vertical axis d and horizontal axis width2
    // (both doubled half-axes).
    bool InEllipse(std::int32_t x, std::int32_t y, std::int64_t width2) const {
        const std::int64_t dx = Dx(x);
        const std::int64_t dy = Dy(y);
        const std::int64_t d2 = diameter * diameter;
        const std::int64_t w2 = width2 * width2;
        return dx * dx * d2 + dy * dy * w2 < w2 * d2;
    }

    // A disk pixel on the disk's edge: one of its four neighbours is outside.
    bool OnRim(std::int32_t x, std::int32_t y) const {
        return !InDisk(x - 1, y) || !InDisk(x + 1, y) || !InDisk(x, y - 1) || !InDisk(x, y + 1);
    }
};

// How the dark region is built for one phase day (Northern view).
enum class DarkShape {
    None,               // fully lit: 14, above 28, negative
    WholeWithRim,       // 0: second full disk, dark, with its rim
    LeftPlusRightEll,   // 1 ... 6 and 28 mirrored: half disk plus other half ellipse
    Left,               // 7
    LeftMinusLeftEll,   // 8 ... 13
    RightMinusRightEll, // 15 ... 20
    Right,              // 21
    RightPlusLeftEll,   // 22 ... 28
};

struct DarkPlan {
    DarkShape shape = DarkShape::None;
    std::int32_t k = 0; // terminator steps
};

DarkPlan PlanFor(int p) {
    if (p == 0) {
        return {DarkShape::WholeWithRim, 0};
    }
    if (p >= 1 && p <= 6) {
        return {DarkShape::LeftPlusRightEll, p};
    }
    if (p == 7) {
        return {DarkShape::Left, 0};
    }
    if (p >= 8 && p <= 13) {
        return {DarkShape::LeftMinusLeftEll, 14 - p};
    }
    if (p >= 15 && p <= 20) {
        return {DarkShape::RightMinusRightEll, p - 14};
    }
    if (p == 21) {
        return {DarkShape::Right, 0};
    }
    if (p >= 22 && p <= 28) {
        return {DarkShape::RightPlusLeftEll, 28 - p};
    }
    // 14, above 28, and negative phase days: fully lit.
    return {DarkShape::None, 0};
}

// The Southern view exchanges left and right.
DarkShape Mirrored(DarkShape shape) {
    switch (shape) {
    case DarkShape::LeftPlusRightEll:
        return DarkShape::RightPlusLeftEll;
    case DarkShape::RightPlusLeftEll:
        return DarkShape::LeftPlusRightEll;
    case DarkShape::Left:
        return DarkShape::Right;
    case DarkShape::Right:
        return DarkShape::Left;
    case DarkShape::LeftMinusLeftEll:
        return DarkShape::RightMinusRightEll;
    case DarkShape::RightMinusRightEll:
        return DarkShape::LeftMinusLeftEll;
    case DarkShape::None:
    case DarkShape::WholeWithRim:
        break;
    }
    return shape;
}

// Whether a disk pixel is dark; left is x < split, inEllipse the terminator test.
bool IsDark(DarkShape shape, bool left, bool inEllipse) {
    switch (shape) {
    case DarkShape::None:
        return false;
    case DarkShape::WholeWithRim:
        return true;
    case DarkShape::LeftPlusRightEll:
        return left || inEllipse;
    case DarkShape::Left:
        return left;
    case DarkShape::LeftMinusLeftEll:
        return left && !inEllipse;
    case DarkShape::RightMinusRightEll:
        return !left && !inEllipse;
    case DarkShape::Right:
        return !left;
    case DarkShape::RightPlusLeftEll:
        return !left || inEllipse;
    }
    return false;
}

bool NeedsEllipse(DarkShape shape) {
    return shape == DarkShape::LeftPlusRightEll || shape == DarkShape::LeftMinusLeftEll ||
           shape == DarkShape::RightMinusRightEll || shape == DarkShape::RightPlusLeftEll;
}

} // namespace

PictureGeometry ComputeGeometry(std::int32_t w, std::int32_t h) {
    PictureGeometry g;
    g.m_margin = DiskMargin;
    g.m_clientRect = {0, 0, w, h};
    const std::int32_t d = w - 2 * g.m_margin;
    g.m_moonRect = {g.m_margin, DiskTop, g.m_margin + d, DiskTop + d};
    g.m_terminatorRect = g.m_moonRect;
    g.m_dayStep = d / 14;
    g.m_arcTop = {w / 2, DiskTop};
    g.m_arcBottom = {w / 2, DiskTop + d};
    return g;
}

void SetStarSeedSource(StarSeedSource source) {
    SeedSourceSlot() = std::move(source);
}

std::uint32_t CurrentStarSeed() {
    const StarSeedSource& source = SeedSourceSlot();
    return source ? source() : ClockSeed();
}

void DrawStarsSeeded(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                     std::uint32_t seed) {
    const std::int32_t w = geometry.m_clientRect.Width();
    const std::int32_t h = geometry.m_clientRect.Height();
    if (w <= 0 || h <= 0) {
        return; // no client area: nothing to scatter over (and no modulo by zero)
    }
    StarRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const std::int32_t y = random.Next() % h;
        const std::int32_t x = random.Next() % w;
        if (x < target.width && y < target.height) {
            target.At(x, y) = StarColour;
        }
    }
}

void DrawStars(const PixelBuffer& target, const PictureGeometry& geometry, int count) {
    DrawStarsSeeded(target, geometry, count, CurrentStarSeed());
}

void DrawMoon(const PixelBuffer& target, PictureGeometry& geometry, int phaseDay, bool northern,
              const MoonTextures& textures) {
    geometry.m_terminatorRect = geometry.m_moonRect;
    const PixelRect& disk = geometry.m_moonRect;
    const std::int32_t d = disk.Width();
    if (d <= 0 || textures.lit.width <= 0 || textures.lit.height <= 0 || textures.dark.width <= 0 ||
        textures.dark.height <= 0) {
        return;
    }

    DarkPlan plan = PlanFor(phaseDay);
    if (!northern) {
        plan.shape = Mirrored(plan.shape);
    }
    const std::int32_t inset = plan.k * geometry.m_dayStep;
    if (NeedsEllipse(plan.shape)) {
        geometry.m_terminatorRect = {disk.left + inset, disk.top, disk.right - inset, disk.bottom};
    }

    const DiskModel model{2 * std::int64_t{disk.left} + d, 2 * std::int64_t{disk.top} + d, d};
    const std::int64_t ellipseWidth2 = std::int64_t{d} - 2 * std::int64_t{inset};
    const std::int32_t split = geometry.SplitX();

    const std::int32_t x0 = std::max(disk.left, 0);
    const std::int32_t x1 = std::min(disk.right, target.width);
    const std::int32_t y0 = std::max(disk.top, 0);
    const std::int32_t y1 = std::min(disk.bottom, target.height);
    const bool useEllipse = NeedsEllipse(plan.shape);

    for (std::int32_t y = y0; y < y1; ++y) {
        const std::int32_t litRow = y % textures.lit.height;
        const std::int32_t darkRow = y % textures.dark.height;
        const std::uint32_t* lit =
            textures.lit.texels + std::ptrdiff_t{litRow} * textures.lit.width;
        const std::uint32_t* dark =
            textures.dark.texels + std::ptrdiff_t{darkRow} * textures.dark.width;
        std::uint32_t* row = &target.At(0, y);
        for (std::int32_t x = x0; x < x1; ++x) {
            if (!model.InDisk(x, y)) {
                continue;
            }
            const bool inEllipse = useEllipse && model.InEllipse(x, y, ellipseWidth2);
            const bool dark_ = IsDark(plan.shape, x < split, inEllipse);
            const bool rimShows = !dark_ || plan.shape == DarkShape::WholeWithRim;
            if (rimShows && model.OnRim(x, y)) {
                row[x] = RimColour;
            } else if (dark_) {
                row[x] = dark[x % textures.dark.width];
            } else {
                row[x] = lit[x % textures.lit.width];
            }
        }
    }
}

} // namespace norvale
