// The calculator's days with and without Qt in the process, in one run: a
// leap year of days at Tokyo (the year chart's days) before Qt is started,
// then in a QApplication on the offscreen platform with the year chart's
// view shown, each pass following a paint of that view as the window's
// redraws follow its paints, and the year chart's whole input (days, terms,
// titles) before and after, as the window makes it (MakeYearChartInput
// first frees the vector registers' upper halves that the paint leaves in
// use).
//
// Figures: CPU time of the thread, and per_day, the CPU time of one day.
// The label has the SSE control word's flush-to-zero and
// denormals-are-zero bits at the start of the pass.
//
//   qt_core_bench [benchmark options]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "core/period_hours.h"
#include "core/presets.h"
#include "ui/year_chart_dlg.h"
#include "ui/year_chart_painter.h"

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

namespace {

using namespace tolmeri;

constexpr int kYear = 2024;
constexpr int kDays = 366;
// Each in-Qt pass follows a whole paint (about 2 ms), so the count is fixed:
// the paints are not timed but still take the run's time.
constexpr int kPasses = 300;

Place Tokyo() {
    return ParseLocationEntry(*FindPreset("東京"));
}

struct QtProcess {
    int argc = 1;
    char name[14] = "qt_core_bench";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    std::unique_ptr<CYearChartView> view;
};

QtProcess& TheQt() {
    static QtProcess qt;
    return qt;
}

// Starts Qt the first time, with the year chart's view shown at the size of
// the window's first opening and painted once.
void StartQt() {
    QtProcess& qt = TheQt();
    if (qt.app)
        return;
    qt.app = std::make_unique<QApplication>(qt.argc, qt.argv);
    qt.view = std::make_unique<CYearChartView>();
    qt.view->resize(1200, 800);
    qt.view->SetInput(MakeYearChartInput(Tokyo(), kYear, {}));
    qt.view->show();
    QCoreApplication::processEvents();
    qt.view->repaint();
}

void Paint() {
    TheQt().view->repaint();
}

std::string ControlWordLabel() {
#if defined(__x86_64__) || defined(__i386__)
    const unsigned csr = _mm_getcsr();
    std::string label = (csr & 0x8000) ? "FTZ on" : "FTZ off";
    label += (csr & 0x0040) ? ", DAZ on" : ", DAZ off";
    return label;
#else
    return {};
#endif
}

enum class Stage { kQtFree, kAfterPaint };

// One pass: the days, or the year chart's whole input.
template <bool kWholeInput> void RunStage(benchmark::State& state, Stage stage) {
    if (stage != Stage::kQtFree)
        StartQt();
    const Place place = Tokyo();
    for (auto _ : state) {
        if (stage != Stage::kQtFree) {
            state.PauseTiming();
            Paint();
            state.ResumeTiming();
        }
        if constexpr (kWholeInput) {
            const YearChartInput input = MakeYearChartInput(place, kYear, {});
            benchmark::DoNotOptimize(input.terms.size());
        } else {
            const auto days = CalcPeriodDays(place, {kYear, 1, 1}, kDays, {});
            benchmark::DoNotOptimize(days.back().boundary[6]);
        }
    }
    state.counters["per_day"] = benchmark::Counter(
        kDays, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.SetLabel(ControlWordLabel());
}

void BM_YearOfDays(benchmark::State& state, Stage stage) {
    RunStage<false>(state, stage);
}

void BM_YearChartInput(benchmark::State& state, Stage stage) {
    RunStage<true>(state, stage);
}

// In this order: everything Qt-free runs before Qt is started.
BENCHMARK_CAPTURE(BM_YearOfDays, qt_free, Stage::kQtFree)
    ->Iterations(kPasses)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_YearChartInput, qt_free, Stage::kQtFree)
    ->Iterations(kPasses)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_YearOfDays, in_qt_after_paint, Stage::kAfterPaint)
    ->Iterations(kPasses)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_YearChartInput, in_qt_after_paint, Stage::kAfterPaint)
    ->Iterations(kPasses)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheQt().view.reset();
    TheQt().app.reset();
    return 0;
}
