// Speed of one full chart paint (bands, 25 rows, marks, title) of Yokohama
// on 2000-01-01 into an image of the window's client size at 96 dpi, fonts
// and layout made afresh as every paint makes them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "core/period_hours.h"
#include "ui/chart_painter.h"
#include "ui/tolmeri_dlg.h"

namespace {

void BM_PaintChart(benchmark::State& state) {
    using namespace tolmeri;
    const CivilDate date{2000, 1, 1};
    const ChartInput input{CalcDayHours({"横浜", 35, 27, 139, 39, 9}, date), QStringLiteral("横浜"),
                           date};
    const QFont face = CTolmeriDlg::ChartFace();
    const QSize size = CTolmeriDlg::ClientSizeFor(nullptr);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        const DayChartLayout layout =
            PaintChart(p, ClientRect{0, 0, size.width(), size.height()}, input, face);
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
