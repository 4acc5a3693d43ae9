// One whole panel render (black fill, stars, shaded disk, three text lines)
// at 135 x 156, as every paint of the picture does it; plus its parts.

#include "core/DateValue.h"
#include "core/MoonDay.h"
#include "picture/Panel.h"
#include "shading/Shading.h"
#include "shading/Textures.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

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
void RenderPanels(benchmark::State& state, int scale) {
    const DateValue date = BenchDay();
    const DateValue today = Today();
    const PictureGeometry geometry = ComputeGeometry(PanelWidth, PanelHeight);
    const QFont font = PanelFont();
    std::uint32_t seed = 1;
    for (auto _ : state) {
        QImage image(scale * PanelWidth, scale * PanelHeight, QImage::Format_RGB32);
        RenderPanel(image, geometry, font, MakeMoonDay(date, today), true, seed++, scale);
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
