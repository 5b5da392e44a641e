// Rebuilding the settings panel for the largest controller a profile can describe: 176 rows of
// four boxes, one per control slot. Target: under 50 ms.
#include "LargestPanel.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace padwright;
using padwright::bench::Window;

namespace {

// cmbProfilesClick with the window on screen: old rows destroyed, 176 new ones placed, shown
// and painted once.
void BM_PanelRebuildAllSlots(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        w.window.cmbProfilesClick();
        QApplication::processEvents(); // the paint of the new rows
        benchmark::DoNotOptimize(w.window.SettingsRows.data());
    }
    if (w.window.SettingsRows.size() != SlotCount)
        state.SkipWithError("expected a row for every slot");
    state.counters["rows"] = static_cast<double>(w.window.SettingsRows.size());
}
BENCHMARK(BM_PanelRebuildAllSlots)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
