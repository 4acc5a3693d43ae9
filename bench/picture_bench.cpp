// One whole panel render (black fill, stars, shaded disk, three text lines)
// at 135 x 156, as every paint of the picture does it, and at the screen
// scales 1.25, 1.75 and 2; plus its parts, the panel as PNG bytes and the true
// sky's text of the picture's tooltip.

#include "core/DateValue.h"
#include "core/MoonDay.h"
#include "panel/PanelDraw.h"
#include "panel/PanelText.h"
#include "picture/Panel.h"
#include "place/PlaceSky.h"
#include "shading/DeviceScale.h"
#include "shading/Shading.h"
#include "shading/Textures.h"
#include "skytext/SkyText.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <vector>

#include <stdlib.h>
#include <time.h>
#include <unistd.h>

namespace {

using namespace norvale;

DateValue BenchDay() {
    DateValue v;
    v.FromFields(2026, 12, 20, 12, 0, 0);
    return v;
}

// 2026-12-07 00:00:00, the today every caption is made against.
DateValue Today() {
    DateValue v;
    v.FromFields(2026, 12, 7, 0, 0, 0);
    return v;
}

// Whole panels at a device pixel ratio of scale, each into a fresh buffer, as
// the control makes one per paint.
void RenderPanels(benchmark::State& state, double scale) {
    const DateValue date = BenchDay();
    const DateValue today = Today();
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    std::uint32_t seed = 1;
    for (auto _ : state) {
        QImage image(DeviceLength(PanelWidth, scale), DeviceLength(PanelHeight, scale),
                     QImage::Format_RGB32);
        RenderPanel(image, geometry, MakeMoonDay(date, today), true, seed++, scale);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_RenderPanel(benchmark::State& state) {
    RenderPanels(state, 1);
}
BENCHMARK(BM_RenderPanel)->Unit(benchmark::kMicrosecond);

// The same panel at a device pixel ratio of 2 (270 x 312 device pixels).
void BM_RenderPanel2x(benchmark::State& state) {
    RenderPanels(state, 2);
}
BENCHMARK(BM_RenderPanel2x)->Unit(benchmark::kMicrosecond);

// At the fractional screen scales, drawn at the device size (169 x 195 and
// 237 x 273 device pixels); the resampled textures are made before timing.
void BM_RenderPanel125(benchmark::State& state) {
    PreparePanel(ComputeGeometry(PanelWidth, PanelHeight), 1.25);
    RenderPanels(state, 1.25);
}
BENCHMARK(BM_RenderPanel125)->Unit(benchmark::kMicrosecond);

void BM_RenderPanel175(benchmark::State& state) {
    PreparePanel(ComputeGeometry(PanelWidth, PanelHeight), 1.75);
    RenderPanels(state, 1.75);
}
BENCHMARK(BM_RenderPanel175)->Unit(benchmark::kMicrosecond);

// The first paint at a new fractional scale makes its textures: the 2x map
// resampled under the disk, as the panel asks for it (at scales from 1.2 up,
// each a size not made before).
void BM_ResampleTextures(benchmark::State& state) {
    static double scale = 1.2; // on across repetitions
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    for (auto _ : state) {
        const PixelRect disk = DeviceGeometry(geometry, scale).m_moonRect;
        benchmark::DoNotOptimize(BuiltInTexturesAt(scale, disk).lit.texels);
        scale += 0.01; // a size not made before
    }
}
BENCHMARK(BM_ResampleTextures)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The true sky's text of the picture's tooltip, made once per shown day
// when the tooltip or the accessible help text asks for it.
void BM_TrueSkyText(benchmark::State& state) {
    DateValue date = BenchDay();
    for (auto _ : state) {
        benchmark::DoNotOptimize(skytext::TrueSkyText(date));
        date += OneDay;
    }
}
BENCHMARK(BM_TrueSkyText)->Unit(benchmark::kMillisecond);

// The place's lines of the same tooltip: the day's rise, transit and set at
// the time zone's city (Europe/Berlin; the zone tables are read once, as in
// the window), with no place file (a fresh, empty configuration folder).
void BM_PlaceSkyText(benchmark::State& state) {
    char folder[] = "/tmp/norvale-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    ::setenv("XDG_CONFIG_HOME", folder, 1);
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    DateValue date = BenchDay();
    benchmark::DoNotOptimize(PlaceSkyText(date));
    for (auto _ : state) {
        date += OneDay;
        benchmark::DoNotOptimize(PlaceSkyText(date));
    }
    ::rmdir(folder);
}
BENCHMARK(BM_PlaceSkyText)->Unit(benchmark::kMillisecond);

// The same panel drawn by norvale_panel into a plain buffer, without a QImage.
void BM_DrawPanel(benchmark::State& state) {
    const MoonDay day = MakeMoonDay(BenchDay(), Today());
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    std::vector<std::uint32_t> pixels(PanelWidth * PanelHeight);
    const PixelBuffer buffer{pixels.data(), PanelWidth, PanelHeight, PanelWidth};
    std::uint32_t seed = 1;
    for (auto _ : state) {
        DrawPanel(buffer, geometry, day, true, seed++);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_DrawPanel)->Unit(benchmark::kMicrosecond);

// The three text lines alone, each on its box.
void BM_PanelTextLines(benchmark::State& state) {
    const MoonDay day = MakeMoonDay(BenchDay(), Today());
    std::vector<std::uint32_t> pixels(PanelWidth * PanelHeight);
    const PixelBuffer buffer{pixels.data(), PanelWidth, PanelHeight, PanelWidth};
    for (auto _ : state) {
        DrawPanelText(buffer, TextLeft, 118, day.caption, 1);
        DrawPanelText(buffer, TextLeft, 129, day.ageText, 1);
        DrawPanelText(buffer, TextLeft, 141, day.illuminationText, 1);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_PanelTextLines)->Unit(benchmark::kMicrosecond);

// The panel as PNG bytes in memory, the work behind a panel PNG file.
void BM_PanelPng(benchmark::State& state) {
    const MoonDay day = MakeMoonDay(BenchDay(), Today());
    for (auto _ : state) {
        benchmark::DoNotOptimize(PanelPng(day, true, 1).data());
    }
}
BENCHMARK(BM_PanelPng)->Unit(benchmark::kMicrosecond);

void BM_DrawMoon(benchmark::State& state) {
    QImage image(PanelWidth, PanelHeight, QImage::Format_RGB32);
    const PixelBuffer buffer{reinterpret_cast<std::uint32_t*>(image.bits()), PanelWidth,
                             PanelHeight, PanelWidth};
    PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    const MoonTextures& textures = BuiltInTextures();
    int p = 0;
    for (auto _ : state) {
        DrawMoon(buffer, geometry, p, true, textures);
        p = (p + 1) % 29;
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DrawMoon)->Unit(benchmark::kMicrosecond);

// The day's phase, age and three texts, as the core makes them.
void BM_PanelTexts(benchmark::State& state) {
    const DateValue date = BenchDay();
    const DateValue today = Today();
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeMoonDay(date, today));
    }
}
BENCHMARK(BM_PanelTexts)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
