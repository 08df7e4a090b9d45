// Speed of the year chart: 366 days painted into 1200 x 800 (the input made
// once; fonts and layout afresh on every paint, as every paint makes them),
// and its input made in a Qt process (bench/qt_core_bench sets the days'
// computation in a Qt process after a paint against the same without Qt).
//
//   year_chart_bench [benchmark options]
//   year_chart_bench --png FILE [PLACE YEAR [DAWN [STEPS [WIDTHxHEIGHT [moon]]]]]
// The second form writes one chart as a picture instead, to look at while
// changing the painter (docs/year-chart.png is made by tolmeri-hours
// --year-chart).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/presets.h"
#include "ui/year_chart_painter.h"

namespace {

using namespace tolmeri;

Place PresetPlace(const char* name) {
    const std::string_view* entry = FindPreset(name);
    return ParseLocationEntry(entry ? *entry : *FindPreset("東京"));
}

QFont ChartFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("sans-serif")});
    return font;
}

void PaintYearChartOf(benchmark::State& state, bool moon) {
    const YearChartInput input = MakeYearChartInput(PresetPlace("東京"), 2024, {}, moon);
    QImage image(1200, 800, QImage::Format_RGB32);
    const QFont font = ChartFont();
    for (auto _ : state) {
        QPainter p(&image);
        const YearChartLayout layout = PaintYearChart(p, image.rect(), input, font);
        benchmark::DoNotOptimize(layout.bottom);
    }
    state.counters["days"] = static_cast<double>(input.days.size());
}
void BM_PaintYearChart(benchmark::State& state) {
    PaintYearChartOf(state, false);
}
BENCHMARK(BM_PaintYearChart)->Unit(benchmark::kMillisecond);
// With moonrise and moonset.
void BM_PaintYearChartMoon(benchmark::State& state) {
    PaintYearChartOf(state, true);
}
BENCHMARK(BM_PaintYearChartMoon)->Unit(benchmark::kMillisecond);

// The days, terms and titles, as the window or the picture module will make
// them: in a process that has started Qt.
void BM_MakeYearChartInput(benchmark::State& state) {
    for (auto _ : state) {
        const YearChartInput input = MakeYearChartInput(PresetPlace("東京"), 2024, {});
        benchmark::DoNotOptimize(input.terms.size());
    }
}
BENCHMARK(BM_MakeYearChartInput)->Unit(benchmark::kMicrosecond);

// The same with the Moon's rises and sets of the 366 days.
void BM_MakeYearChartInputMoon(benchmark::State& state) {
    for (auto _ : state) {
        const YearChartInput input = MakeYearChartInput(PresetPlace("東京"), 2024, {}, true);
        benchmark::DoNotOptimize(input.moonrise.size());
    }
}
BENCHMARK(BM_MakeYearChartInputMoon)->Unit(benchmark::kMillisecond);

int WritePicture(int argc, char** argv) {
    const char* file = argv[2];
    const Place place = PresetPlace(argc > 3 ? argv[3] : "東京");
    const int year = argc > 4 ? std::atoi(argv[4]) : 2026;
    PeriodOptions options;
    if (argc > 5)
        options.dawn = DawnDefinitionFromName(argv[5]).value_or(DawnDefinition::kDepression);
    if (argc > 6)
        options.steps = ClockStepsFromName(argv[6]).value_or(ClockSteps::kDaily);
    int width = 1200, height = 800;
    if (argc > 7 && std::sscanf(argv[7], "%dx%d", &width, &height) != 2)
        return 2;
    QImage image(width, height, QImage::Format_RGB32);
    {
        QPainter p(&image);
        const bool moon = argc > 8 && std::strcmp(argv[8], "moon") == 0;
        PaintYearChart(p, image.rect(), MakeYearChartInput(place, year, options, moon),
                       ChartFont());
    }
    return image.save(QString::fromLocal8Bit(file)) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc > 2 && std::strcmp(argv[1], "--png") == 0)
        return WritePicture(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
