#include "shading/Shading.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace norvale {

namespace {

constexpr std::int32_t DiskMargin = 12;
constexpr std::int32_t DiskTop = 5;
// Far beyond any screen; keeps the squared pixel tests within 64 bits.
constexpr std::int32_t MaxDiameter = 1 << 14;

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
};

// The columns [begin, end) of one row whose pixel centres pass a test that
// holds on one interval around the centre column; empty when none does.
struct Span {
    std::int32_t begin = 0;
    std::int32_t end = 0;

    bool Contains(std::int32_t x) const { return x >= begin && x < end; }
};

// The span of a row inside the ellipse of doubled horizontal half-axis width2
// (the disk when width2 is the diameter), from a floating estimate corrected
// with the exact integer test.
template <typename Inside>
Span RowSpan(const DiskModel& model, std::int32_t y, std::int64_t width2, Inside inside) {
    const double dy = static_cast<double>(model.Dy(y)) / static_cast<double>(model.diameter);
    const double rest = 1.0 - dy * dy;
    if (rest <= 0.0 || width2 <= 0) {
        return {};
    }
    // Half-width in pixels about the centre column (model.centre2x / 2).
    const double half = 0.5 * static_cast<double>(width2) * std::sqrt(rest);
    const double centre = static_cast<double>(model.centre2x) / 2.0;
    auto clampColumn = [](double v) {
        return static_cast<std::int32_t>(std::clamp(v, -1.0e9, 1.0e9));
    };
    std::int32_t begin = clampColumn(std::floor(centre - half - 0.5));
    std::int32_t end = clampColumn(std::ceil(centre + half - 0.5));
    while (inside(begin - 1, y)) {
        --begin;
    }
    while (begin < end && !inside(begin, y)) {
        ++begin;
    }
    while (inside(end, y)) {
        ++end;
    }
    while (end > begin && !inside(end - 1, y)) {
        --end;
    }
    return {begin, end};
}

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

// Paints the disk pixels of one row: runs of lit or dark texels between the
// split column and the terminator's edges, then the rim where it shows.
struct RowPainter {
    std::uint32_t* row;
    const std::uint32_t* lit;
    std::int32_t litWidth;
    const std::uint32_t* dark;
    std::int32_t darkWidth;
    DarkShape shape;
    std::int32_t split;
    Span ellipse;
    std::int32_t begin; // painted columns [begin, end), inside the buffer
    std::int32_t end;

    bool Dark(std::int32_t x) const { return IsDark(shape, x < split, ellipse.Contains(x)); }

    // Texels of a tiled texture row for the columns [from, to).
    void Copy(const std::uint32_t* texels, std::int32_t width, std::int32_t from,
              std::int32_t to) const {
        std::int32_t column = from % width;
        for (std::int32_t x = from; x < to; ++x) {
            row[x] = texels[column];
            if (++column == width) {
                column = 0;
            }
        }
    }

    void Fill() const {
        // Where the dark region can change: the split and the ellipse edges.
        std::int32_t cuts[] = {split, ellipse.begin, ellipse.end};
        std::sort(std::begin(cuts), std::end(cuts));
        std::int32_t from = begin;
        for (std::int32_t cut : cuts) {
            const std::int32_t to = std::clamp(cut, from, end);
            CopyRun(from, to);
            from = to;
        }
        CopyRun(from, end);
    }

    void CopyRun(std::int32_t from, std::int32_t to) const {
        if (from >= to) {
            return;
        }
        if (Dark(from)) {
            Copy(dark, darkWidth, from, to);
        } else {
            Copy(lit, litWidth, from, to);
        }
    }

    // The rim: disk pixels with a neighbour outside the disk, drawn where the
    // disk is lit (and everywhere for the second disk of the new Moon).
    void Rim(const Span& here, const Span& above, const Span& below) const {
        if (here.begin >= here.end) {
            return;
        }
        const bool wholeRow = above.begin >= above.end || below.begin >= below.end;
        const std::int32_t leftEnd =
            wholeRow ? here.end
                     : std::clamp(std::max(above.begin, below.begin), here.begin + 1, here.end);
        const std::int32_t rightBegin =
            wholeRow ? here.end : std::clamp(std::min(above.end, below.end), leftEnd, here.end - 1);
        MarkRim(here.begin, leftEnd);
        MarkRim(rightBegin, here.end);
    }

    void MarkRim(std::int32_t from, std::int32_t to) const {
        from = std::max(from, begin);
        to = std::min(to, end);
        for (std::int32_t x = from; x < to; ++x) {
            if (shape == DarkShape::WholeWithRim || !Dark(x)) {
                row[x] = RimColour;
            }
        }
    }
};

} // namespace

PictureGeometry ComputeGeometry(std::int32_t w, std::int32_t h) {
    // Sizes beyond any window (Qt's limit is 2^24 - 1) are clamped, so the
    // sums below cannot overflow.
    constexpr std::int32_t MaxSide = 1 << 24;
    w = std::clamp(w, 0, MaxSide);
    h = std::clamp(h, 0, MaxSide);
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

PictureGeometry ScaledGeometry(const PictureGeometry& geometry, std::int32_t scale) {
    auto rect = [scale](const PixelRect& r) {
        return PixelRect{r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
    };
    auto point = [scale](const PixelPoint& p) { return PixelPoint{p.x * scale, p.y * scale}; };
    PictureGeometry g;
    g.m_margin = geometry.m_margin * scale;
    g.m_dayStep = geometry.m_dayStep * scale;
    g.m_clientRect = rect(geometry.m_clientRect);
    g.m_moonRect = rect(geometry.m_moonRect);
    g.m_terminatorRect = rect(geometry.m_terminatorRect);
    g.m_arcTop = point(geometry.m_arcTop);
    g.m_arcBottom = point(geometry.m_arcBottom);
    return g;
}

std::int32_t TerminatorInset(const PictureGeometry& geometry, std::int32_t k) {
    if (geometry.m_dayStepFine > 0) {
        return static_cast<std::int32_t>((std::int64_t{k} * geometry.m_dayStepFine + 512) / 1024);
    }
    return k * geometry.m_dayStep;
}

void DrawStarsScaled(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                     std::uint32_t seed, std::int32_t scale) {
    const std::int32_t w = geometry.m_clientRect.Width();
    const std::int32_t h = geometry.m_clientRect.Height();
    if (w <= 0 || h <= 0 || scale <= 0) {
        return; // no client area: nothing to scatter over (and no modulo by zero)
    }
    StarRandom random(seed);
    for (int i = 0; i < count; ++i) {
        const std::int32_t y = random.Next() % h; // the row first, then the column
        const std::int32_t x = random.Next() % w;
        for (std::int32_t dy = 0; dy < scale; ++dy) {
            for (std::int32_t dx = 0; dx < scale; ++dx) {
                const std::int32_t px = x * scale + dx;
                const std::int32_t py = y * scale + dy;
                if (px < target.width && py < target.height) {
                    target.At(px, py) = StarColour;
                }
            }
        }
    }
}

void DrawStarsSeeded(const PixelBuffer& target, const PictureGeometry& geometry, int count,
                     std::uint32_t seed) {
    DrawStarsScaled(target, geometry, count, seed, 1);
}

void DrawMoon(const PixelBuffer& target, PictureGeometry& geometry, int phaseDay, bool northern,
              const MoonTextures& textures) {
    geometry.m_terminatorRect = geometry.m_moonRect;
    const PixelRect& disk = geometry.m_moonRect;
    const std::int32_t d = disk.Width();
    if (d <= 0 || d > MaxDiameter || textures.lit.width <= 0 || textures.lit.height <= 0 ||
        textures.dark.width <= 0 || textures.dark.height <= 0) {
        return;
    }

    DarkPlan plan = PlanFor(phaseDay);
    if (!northern) {
        plan.shape = Mirrored(plan.shape);
    }
    const std::int32_t inset = TerminatorInset(geometry, plan.k);
    if (NeedsEllipse(plan.shape)) {
        geometry.m_terminatorRect = {disk.left + inset, disk.top, disk.right - inset, disk.bottom};
    }

    const DiskModel model{2 * std::int64_t{disk.left} + d, 2 * std::int64_t{disk.top} + d, d};
    const std::int64_t ellipseWidth2 = std::int64_t{d} - 2 * std::int64_t{inset};
    const std::int32_t split = geometry.SplitX();

    const bool useEllipse = NeedsEllipse(plan.shape);
    auto inDisk = [&model](std::int32_t x, std::int32_t y) { return model.InDisk(x, y); };
    auto inEllipse = [&model, ellipseWidth2](std::int32_t x, std::int32_t y) {
        return model.InEllipse(x, y, ellipseWidth2);
    };
    auto diskSpan = [&](std::int32_t y) {
        return y < disk.top || y >= disk.bottom ? Span{} : RowSpan(model, y, d, inDisk);
    };

    const std::int32_t y0 = std::max(disk.top, 0);
    const std::int32_t y1 = std::min(disk.bottom, target.height);
    Span above = diskSpan(y0 - 1);
    Span here = diskSpan(y0);
    for (std::int32_t y = y0; y < y1; ++y) {
        const Span below = diskSpan(y + 1);
        const RowPainter painter{
            &target.At(0, y),
            textures.lit.texels + std::ptrdiff_t{y % textures.lit.height} * textures.lit.width,
            textures.lit.width,
            textures.dark.texels + std::ptrdiff_t{y % textures.dark.height} * textures.dark.width,
            textures.dark.width,
            plan.shape,
            split,
            useEllipse ? RowSpan(model, y, ellipseWidth2, inEllipse) : Span{},
            std::max(here.begin, 0),
            std::min(here.end, target.width)};
        painter.Fill();
        painter.Rim(here, above, below);
        above = here;
        here = below;
    }
}

} // namespace norvale
