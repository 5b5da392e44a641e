// What reading costs the real main window: 4 recorded controllers at 5 ms for 10 s, at rest and
// with one stick held, plain polling beside the sleeping reader in the same run. Wake-ups are
// the process's voluntary context switches (each one a return from waiting in the event loop);
// CPU is user plus system time. Targets at rest for the sleeping reader: no wake-ups from
// reading and under 0.05 % of a core; with a stick held, no more than polling.
#include "app/Program.h"
#include "engine/Catalogue.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/Registry.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/resource.h>

namespace padwright {
namespace {

constexpr int Controllers = 4;
constexpr int Seconds = 10;

struct Usage {
    double cpuSeconds;
    long wakeups;
};

Usage Now() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return {seconds(r.ru_utime) + seconds(r.ru_stime), r.ru_nvcsw};
}

// Runs the event loop for `milliseconds` and returns the seconds that really passed.
double RunEventLoop(int milliseconds) {
    QEventLoop loop;
    const auto begun = std::chrono::steady_clock::now();
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
}

// The program as it runs, over fixture controllers that replay their recordings when opened;
// the sticks move the pointer, button 0 types A.
class Reading {
public:
    explicit Reading(bool sleeping) : settings_(work_.filePath("settings.ini").toStdString()) {
        const EvemuDevice pad = LoadEvemuFile(
            PADWRIGHT_SOURCE_DIR "/tests/fixtures/devices/xbox360-pad-xpad-ayaneo-air.evemu");
        for (int i = 0; i < Controllers; ++i)
            nodes_.push_back(kernel_->Add(pad.description, pad.events));
        Program::Parts parts;
        parts.Injector.injector = std::make_unique<RecordingInjector>();
        parts.Injector.status.level = InjectionLevel::Full;
        parts.Session = std::make_unique<RecordingSession>();
        parts.Settings = &settings_;
        parts.DirectInput = [k = kernel_](std::shared_ptr<IDirectInput8>& out) {
            out = CreateFixtureDirectInput(k);
            return DI_OK;
        };
        program_ = std::make_unique<Program>(std::move(parts));
        TfrmMain& w = program_->MainWindow();
        w.core.Reader().SleepAtRest = sleeping;
        TProfile& profile = program_->Lists().Profiles.push_back(NewProfile("Bench"));
        AssignFunction(profile.Mappings[AxisSlot(0, false)], "MOUSE_MOVE_X_NEG");
        AssignFunction(profile.Mappings[AxisSlot(0, true)], "MOUSE_MOVE_X_POS");
        AssignFunction(profile.Mappings[ButtonSlot(0)], "VK_A");
        for (int i = 0; i < Controllers; ++i) {
            w.core.Controllers.View.cmbFoundDevices.ItemIndex = i;
            w.cmbFoundDevicesClick();
            w.cmdAddDeviceClick();
            program_->Lists().ActiveJoysticks[static_cast<std::size_t>(i)].Profile = 1;
        }
        w.popItemStartClick();
    }

    void HoldStick() {
        kernel_->Push(nodes_[0], {{EV_ABS, ABS_X, 32767}, {EV_SYN, SYN_REPORT, 0}});
    }
    bool Asleep() { return program_->ProgramCore().Reader().Asleep(); }
    bool On() { return program_->ProgramCore().ReadingOn(); }

private:
    QTemporaryDir work_;
    Registry settings_;
    std::shared_ptr<FixtureKernel> kernel_ = std::make_shared<FixtureKernel>();
    std::vector<int> nodes_;
    std::unique_ptr<Program> program_;
};

void BM_Reading(benchmark::State& state) {
    const bool sleeping = state.range(0) != 0;
    const bool held = state.range(1) != 0;
    Reading reading(sleeping);
    if (held)
        reading.HoldStick();
    RunEventLoop(500); // the recordings are read and the first runs settle
    if (!reading.On()) {
        state.SkipWithError("reading is not on");
        return;
    }
    Usage used{0, 0};
    double seconds = 1;
    for (auto _ : state) {
        const Usage before = Now();
        seconds = RunEventLoop(Seconds * 1000);
        const Usage after = Now();
        used = {after.cpuSeconds - before.cpuSeconds, after.wakeups - before.wakeups};
    }
    state.counters["wakeups_per_s"] = static_cast<double>(used.wakeups) / seconds;
    state.counters["cpu_percent"] = 100.0 * used.cpuSeconds / seconds;
    state.counters["asleep_at_end"] = reading.Asleep() ? 1 : 0;
}
BENCHMARK(BM_Reading)
    ->ArgNames({"sleeping", "held"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
} // namespace padwright
