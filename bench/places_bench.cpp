// Speed of the historical places: a lookup by each kind of key (goal: at
// most 5 µs each, the book made), the table's reading and indexing that the
// first lookup of a process pays, the suggestions of an unknown name, and
// the list's search as typed over all 370 places, alone and in the window's
// list with its rows refilled and painted (goal: within a frame, 16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include "core/places.h"
#include "framework/list_box.h"
#include "res/resource.h"
#include "ui/historical_place_dlg.h"

using namespace tolmeri;

namespace {

// Each kind of key --place and the list take.
const char* const kKeys[] = {
    "品川宿",         // a name
    "品川",           // a name without its suffix
    "彦根城下",       // a name with a suffix the table does not write
    "しながわしゅく", // a reading
    "エド",           // a reading in katakana
    "shinagawa-juku", // romaji, another reading of the suffix
    "Ōsaka",          // romaji with a length mark
    "東海道1",        // a route and number
    "中山道 28",      // the same with a blank
    "赤坂宿",         // two candidates
    "Atlantis",       // none
};

void BM_FindPlace(benchmark::State& state) {
    const CPlaceBook& book = CPlaceBook::Historical();
    const char* key = kKeys[state.range(0)];
    state.SetLabel(key);
    for (auto _ : state)
        benchmark::DoNotOptimize(book.Find(key));
}
BENCHMARK(BM_FindPlace)->DenseRange(0, std::size(kKeys) - 1)->Unit(benchmark::kMicrosecond);

// What the first lookup of a process pays: the 370 rows read and indexed.
void BM_MakeBook(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(CPlaceBook(std::string()));
}
BENCHMARK(BM_MakeBook)->Unit(benchmark::kMicrosecond);

void BM_SuggestUnknown(benchmark::State& state) {
    const CPlaceBook& book = CPlaceBook::Historical();
    for (auto _ : state)
        benchmark::DoNotOptimize(book.Suggest("shinagawa-jku"));
}
BENCHMARK(BM_SuggestUnknown)->Unit(benchmark::kMicrosecond);

// The texts a user types, letter by letter, into the list's search box.
const char* const kTyped[] = {"", "し", "しな", "shina", "東海道1", "zzzz"};

void BM_SearchPlaces(benchmark::State& state) {
    const CPlaceBook& book = CPlaceBook::Historical();
    const char* typed = kTyped[state.range(0)];
    state.SetLabel(*typed ? typed : "(all)");
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchPlaces(book, typed));
}
BENCHMARK(BM_SearchPlaces)->DenseRange(0, std::size(kTyped) - 1)->Unit(benchmark::kMicrosecond);

// A keystroke in the window: the search box's text changed, the list
// refilled and its rows painted.
void BM_ListAsTyped(benchmark::State& state) {
    CHistoricalPlaceDlg dlg;
    dlg.Create();
    dlg.show();
    auto* search = qobject_cast<QLineEdit*>(dlg.GetDlgItem(IDC_HISTORICAL_SEARCH));
    auto* list = qobject_cast<CListBoxWidget*>(dlg.GetDlgItem(IDC_HISTORICAL_LIST));
    const QString typed = QString::fromUtf8(kTyped[state.range(0)]);
    state.SetLabel(typed.isEmpty() ? "(all)" : typed.toStdString());
    for (auto _ : state) {
        search->setText(QStringLiteral("x")); // another text first, so each one refills
        search->setText(typed);
        list->viewport()->repaint();
    }
}
BENCHMARK(BM_ListAsTyped)->DenseRange(0, std::size(kTyped) - 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
