// Rebuilding the settings panel for the largest controller a profile can describe: 6 axes,
// 2 sliders, 4 eight-way hats and 128 buttons: 12 + 4 + 32 + 128 = 176 rows of four boxes, one
// per control slot. Target: under 50 ms.
#include "input/DiLog.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/Registry.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace padwright;

namespace {

TJoystick LargestController() {
    TJoystick j;
    j.Name = "Largest";
    j.XCount = j.YCount = j.ZCount = j.RxCount = j.RyCount = j.RzCount = 1;
    j.XName = "X Axis";
    j.YName = "Y Axis";
    j.ZName = "Z Axis";
    j.RxName = "X Rotation";
    j.RyName = "Y Rotation";
    j.RzName = "Z Rotation";
    j.SliderCount = 2;
    j.SliderNames = {"Slider", "Slider"};
    j.POVCount = 4;
    for (int h = 0; h < MaxHats; ++h) {
        j.POVNames[h] = "Hat Switch";
        j.POVMax[h] = 7;
    }
    j.ButtonCount = MaxButtons;
    for (int b = 0; b < MaxButtons; ++b)
        j.ButtonNames[b] = "Button: Button " + std::to_string(b);
    return j;
}

struct Window {
    QTemporaryDir folder;
    Registry settings{folder.filePath("Padwright.conf")};
    TLists lists;
    DiLog log;
    RecordingInjector injector;
    RecordingSession session;
    TfrmMain window{[this] {
        TMainDependencies d{lists, log, injector, session};
        d.Settings = &settings;
        return d;
    }()};

    Window() {
        lists.Profiles.push_back(NewProfile("All"));
        window.cmbProfiles->addItem("All");
        lists.ActiveJoysticks.push_back(LargestController()).Profile = 1;
        window.Controllers.View.cmbDevices.Add(ControllerListText(lists.ActiveJoysticks[0]));
        window.Controllers.View.cmbDevices.ItemIndex = 0;
        window.SyncControllerWidgets();
        window.show();
        window.cmbDevicesClick();
    }
};

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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
