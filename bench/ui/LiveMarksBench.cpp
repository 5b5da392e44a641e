// The live marks' cost in the data-collection cycle, with all 176 rows on the panel. The cycle
// runs every 5 ms at the default interval; the target is well under 5% of that (250 us) per
// cycle, the repaints included: a repaint follows a change at most 30 times a second, so at most
// one cycle in six and a bit pays for one.
#include "LargestPanel.h"
#include "ui/StaticText.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace padwright;
using padwright::bench::Window;

namespace {

// The paints the window has pending, without running its timers: the data-collection timer
// would find the benchmark's controller unread and switch reading off.
void Paint(Window& w) {
    QCoreApplication::sendPostedEvents(&w.window, QEvent::UpdateRequest);
}

bool Ready(benchmark::State& state, Window& w) {
    QApplication::processEvents(); // the window is exposed, so its rows paint
    w.window.core.ResumeReading(); // after a cycle that may have run meanwhile
    Paint(w);
    if (w.window.SettingsRows.size() != SlotCount || !w.window.core.ReadingOn()) {
        state.SkipWithError("expected a row for every slot and reading on");
        return false;
    }
    return true;
}

// What every cycle pays while no control moves: one comparison, no timer.
void BM_MarksNothingChanging(benchmark::State& state) {
    Window w;
    if (!Ready(state, w))
        return;
    w.lists.ActiveJoysticks[0].Engaged.set(ButtonSlot(3));
    w.window.MarkEngagedRows();
    w.window.tmrLiveMarks->stop();
    w.window.tmrLiveMarksTimer();
    for (auto _ : state)
        w.window.MarkEngagedRows();
    if (w.window.tmrLiveMarks->isActive())
        state.SkipWithError("nothing changed, yet the repaint was asked for");
}
BENCHMARK(BM_MarksNothingChanging);

// A cycle in which one control changes: the comparison and the start of the single shot (stopped
// again, so every cycle pays for starting it).
void BM_MarksOneChangePerCycle(benchmark::State& state) {
    Window w;
    if (!Ready(state, w))
        return;
    TJoystick& pad = w.lists.ActiveJoysticks[0];
    for (auto _ : state) {
        pad.Engaged.flip(AxisSlot(0, false));
        w.window.MarkEngagedRows();
        w.window.tmrLiveMarks->stop();
    }
}
BENCHMARK(BM_MarksOneChangePerCycle);

// Counts the paint events of the widget it watches.
struct PaintCounter : QObject {
    long paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The single shot's work for one changed row in view: the marks applied and the row painted.
void BM_RepaintOneChangedRow(benchmark::State& state) {
    Window w;
    if (!Ready(state, w))
        return;
    TJoystick& pad = w.lists.ActiveJoysticks[0];
    PaintCounter counter;
    w.window.SettingsRows.front().NameBox->installEventFilter(&counter);
    for (auto _ : state) {
        pad.Engaged.flip(AxisSlot(0, false));
        w.window.MarkEngagedRows();
        w.window.tmrLiveMarks->stop();
        w.window.tmrLiveMarksTimer();
        Paint(w);
    }
    state.counters["paints/cycle"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RepaintOneChangedRow)->Unit(benchmark::kMicrosecond);

} // namespace
