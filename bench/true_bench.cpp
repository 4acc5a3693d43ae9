// Benchmarks of the true Moon picture: the Moon's aspect at an instant, the
// picture drawn at the panel's size and as a 1920 x 1080 wallpaper, and its
// PNG encoding. The whole norvale-cli process is timed beside pngphoon by
// bench/cli_vs_tools.py.
#include "png/Png.h"
#include "sky/MoonOrientation.h"
#include "truemoon/SkyView.h"
#include "truemoon/TruePicture.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using namespace norvale;

// 2026-12-17 12:00 UTC, near first quarter: the terminator across the disk.
constexpr std::int64_t Instant = 1797508800;

MoonView ViewAt(std::int64_t seconds, double& sizeScale) {
    const auto aspect = sky::MoonAspectAt(seconds);
    sizeScale = aspect->SizeScale();
    return ViewOf(*aspect, 0.0);
}

void BM_MoonAspect(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(sky::MoonAspectAt(Instant));
    }
}
BENCHMARK(BM_MoonAspect)->Unit(benchmark::kMicrosecond);

void Draw(benchmark::State& state, const TrueLayout& layout) {
    double sizeScale = 1.0;
    const MoonView view = ViewAt(Instant, sizeScale);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) * layout.height);
    const PixelBuffer buffer{pixels.data(), layout.width, layout.height, layout.width};
    for (auto _ : state) {
        DrawTruePicture(buffer, layout, view, sizeScale, 1, {}, BuiltInLunarMap());
        benchmark::ClobberMemory();
    }
}

void BM_DrawPanelSize(benchmark::State& state) {
    Draw(state, PanelTrueLayout(1));
}
BENCHMARK(BM_DrawPanelSize)->Unit(benchmark::kMicrosecond);

void BM_DrawWallpaper(benchmark::State& state) {
    Draw(state, SizedTrueLayout(1920, 1080, DefaultMoonSize, false));
}
BENCHMARK(BM_DrawWallpaper)->Unit(benchmark::kMillisecond);

void EncodeWallpaper(benchmark::State& state, int level) {
    double sizeScale = 1.0;
    const MoonView view = ViewAt(Instant, sizeScale);
    const TrueLayout layout = SizedTrueLayout(1920, 1080, DefaultMoonSize, false);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(layout.width) * layout.height);
    const PixelBuffer buffer{pixels.data(), layout.width, layout.height, layout.width};
    DrawTruePicture(buffer, layout, view, sizeScale, 1, {}, BuiltInLunarMap());
    std::size_t size = 0;
    for (auto _ : state) {
        size = (level < 0 ? EncodePng(buffer)
                          : EncodePngInBands(layout.width, layout.height, level,
                                             [&](const PixelBuffer& band, std::int32_t first) {
                                                 for (std::int32_t y = 0; y < band.height; ++y) {
                                                     std::copy_n(&buffer.At(0, first + y),
                                                                 band.width, &band.At(0, y));
                                                 }
                                             }))
                   .size();
    }
    state.counters["bytes"] = static_cast<double>(size);
}

// The panel's encoder (libpng's quick setting: zlib level 3, no filters) and
// zlib's levels 1 and 0 (stored, no compression).
void BM_EncodeWallpaperQuick(benchmark::State& state) {
    EncodeWallpaper(state, -1);
}
BENCHMARK(BM_EncodeWallpaperQuick)->Unit(benchmark::kMillisecond);
void BM_EncodeWallpaperLevel1(benchmark::State& state) {
    EncodeWallpaper(state, 1);
}
BENCHMARK(BM_EncodeWallpaperLevel1)->Unit(benchmark::kMillisecond);
void BM_EncodeWallpaperLevel0(benchmark::State& state) {
    EncodeWallpaper(state, 0);
}
BENCHMARK(BM_EncodeWallpaperLevel0)->Unit(benchmark::kMillisecond);

// The whole picture as PNG bytes, as norvale-cli makes it.
void BM_WallpaperPng(benchmark::State& state) {
    double sizeScale = 1.0;
    const MoonView view = ViewAt(Instant, sizeScale);
    const TrueLayout layout = SizedTrueLayout(1920, 1080, DefaultMoonSize, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TruePicturePng(layout, view, sizeScale, 1, {}));
    }
}
BENCHMARK(BM_WallpaperPng)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
