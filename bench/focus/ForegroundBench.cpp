// How soon the sources report a change of the window in front, and what following costs while
// nothing changes. X11: Xvfb with the benchmark as the window manager, latency from setting
// _NET_ACTIVE_WINDOW to the source's callback. wlroots: sway headless with two weston clients,
// latency from sending sway the focus command over its socket to the callback. At rest: the
// process's voluntary context switches (each one a return from waiting) and CPU over 10 s with
// the source watching; the target is no wake-ups at all.
#include "../../tests/focus/QtLoop.h"
#include "../../tests/focus/SwaySession.h"
#include "SwayCommand.h"
#include "platform/focus/wlroots/WlrootsForegroundSource.h"
#include "platform/focus/x11/X11ForegroundSource.h"

#include <QEventLoop>

#include <benchmark/benchmark.h>

#include "../../tests/focus/WindowManager.h" // Xlib's macros last

#include <chrono>
#include <sys/resource.h>

namespace padwright {
namespace {

using Clock = std::chrono::steady_clock;
using testing::RunUntil;

// Runs `change` and then the loop until the source has reported; the time between, as the
// iteration's.
template <typename Change>
void Measure(benchmark::State& state, IForegroundSource& source, Change change) {
    int reports = 0, step = 0;
    source.Watch([&](const ForegroundProgram&) { ++reports; });
    for (auto _ : state) {
        const int before = reports;
        const auto begun = Clock::now();
        change(step++);
        if (!RunUntil([&] { return reports > before; }))
            return state.SkipWithError("the source did not report the change");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begun).count());
    }
}

// 10 s of Qt's loop with the source watching and nothing changing, once the clients have settled
// (a client's last title or state may still arrive in the first moments).
void AtRest(benchmark::State& state, IForegroundSource& source) {
    RunUntil([] { return false; }, 1000);
    int reports = 0;
    source.Watch([&](const ForegroundProgram&) { ++reports; });
    auto usage = [] {
        rusage r{};
        getrusage(RUSAGE_SELF, &r);
        return std::pair(r.ru_nvcsw, r.ru_utime.tv_sec + r.ru_stime.tv_sec +
                                         (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6);
    };
    for (auto _ : state) {
        QEventLoop loop;
        const auto before = usage();
        QTimer::singleShot(10000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        const auto after = usage();
        state.counters["wakeups_in_10s"] = static_cast<double>(after.first - before.first - 1);
        state.counters["cpu_ms"] = 1000 * (after.second - before.second);
        state.counters["reports"] = reports;
    }
}

void BM_X11FocusToReport(benchmark::State& state) {
    testing::WindowManager wm;
    X11ForegroundSource source(testing::Loop(), wm.x.Name().c_str());
    const Window windows[] = {wm.Open("Game", "game", 0), wm.Open("Editor", "editor", 0)};
    if (state.range(0))
        return AtRest(state, source);
    Measure(state, source, [&](int i) { wm.Activate(windows[i % 2]); });
}
BENCHMARK(BM_X11FocusToReport)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_X11FocusToReport)->Arg(1)->Iterations(1)->Name("BM_X11AtRest");

void BM_SwayFocusToReport(benchmark::State& state) {
    testing::SwaySession sway;
    auto flower = sway.Launch("/usr/bin/weston-flower");
    auto terminal = sway.Launch("/usr/bin/weston-terminal");
    WlrootsForegroundSource source(testing::Loop(), sway.Socket().c_str());
    if (!RunUntil([&] { return source.OpenWindows().size() == 2; }))
        return state.SkipWithError("the two clients did not open their windows");
    if (state.range(0))
        return AtRest(state, source);
    const SwayCommands ipc(sway.Ipc());
    if (!ipc.Connected())
        return state.SkipWithError("sway's command socket does not answer");
    const std::string apps[] = {"org.freedesktop.weston.flower",
                                "org.freedesktop.weston.wayland-terminal"};
    Measure(state, source, [&](int) { // to the one not in front
        ipc.Send("[app_id=\"" + apps[source.Current().appId == apps[0]] + "\"] focus");
    });
}
BENCHMARK(BM_SwayFocusToReport)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200);
BENCHMARK(BM_SwayFocusToReport)->Arg(1)->Iterations(1)->Name("BM_SwayAtRest");

} // namespace
} // namespace padwright

BENCHMARK_MAIN();
