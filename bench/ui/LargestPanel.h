#pragma once
// The main window over the largest controller a profile can describe: 6 axes, 2 sliders, 4
// eight-way hats and 128 buttons, 12 + 4 + 32 + 128 = 176 rows, one per control slot, shown with
// a profile selected and reading on.
#include "input/DiLog.h"
#include "platform/eventloop/QtEventLoop.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/Registry.h"
#include "ui/frmMain.h"

#include <QComboBox>
#include <QTemporaryDir>

namespace padwright::bench {

inline TJoystick LargestController() {
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
    Registry settings{folder.filePath("Padwright.conf").toStdString()};
    RecordingInjector injector;
    RecordingSession session;
    QtEventLoop loop;
    QtUserDialogs dialogs;
    Core core{CoreParts{loop, injector, session, dialogs, settings}};
    TLists& lists = core.Lists;
    TfrmMain window{core, dialogs};

    Window() {
        lists.Profiles.push_back(NewProfile("All"));
        window.cmbProfiles->addItem("All");
        lists.ActiveJoysticks.push_back(LargestController()).Profile = 1;
        window.core.Controllers.View.cmbDevices.Add(ControllerListText(lists.ActiveJoysticks[0]));
        window.core.Controllers.View.cmbDevices.ItemIndex = 0;
        window.SyncControllerWidgets();
        window.show();
        window.cmbDevicesClick();
    }
};

} // namespace padwright::bench
