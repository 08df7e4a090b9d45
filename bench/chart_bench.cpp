// Speed of one full chart paint (bands, 25 rows, marks, title) into an image
// of the worked example's size, fonts and layout made afresh as every paint
// makes them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "chart_painter.h"
#include "temporal_hours.h"

namespace {

void BM_PaintChart(benchmark::State& state) {
    CTemporalHours h;
    h.Reset();
    h.SetPlace(35, 27, 139, 39, 9);
    h.SetDate(2000, 1, 1);
    h.CalcNoonJD();
    h.CalcBoundaries();
    h.SetLabels();
    const ChartInput input = ChartInput::From(h, QStringLiteral("横浜"), 2000, 1, 1);
    QImage image(540, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        const ChartLayout layout = PaintChart(p, ClientRect{0, 0, 540, 480}, input);
        benchmark::DoNotOptimize(layout.yB);
    }
}
BENCHMARK(BM_PaintChart)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
