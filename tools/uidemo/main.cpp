// Shows the main window with one active controller and a profile selected, so the panel has rows
// to look at. With --grab FILE it writes the window to FILE as PNG once it is shown, and exits.
#include "engine/Catalogue.h"
#include "input/DiLog.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/ProfileOperations.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

using namespace padwright;

namespace {

TJoystick DemoController() {
    TJoystick j;
    j.Name = "Generic USB Gamepad";
    j.JoystickID = 0;
    j.XCount = j.YCount = j.RzCount = 1;
    j.XName = "X Axis";
    j.YName = "Y Axis";
    j.RzName = "Z Rotation";
    j.SliderCount = 1;
    j.SliderNames[0] = "Slider";
    j.POVCount = 1;
    j.POVNames[0] = "Hat Switch";
    j.POVMax[0] = 7;
    j.ButtonCount = 12;
    for (int b = 0; b < j.ButtonCount; ++b)
        j.ButtonNames[b] = "Button: Button " + std::to_string(b);
    return j;
}

void MapDemoFunctions(TProfile& profile) {
    auto set = [&](int slot, const char* name, bool ctrl, bool shift, int rate) {
        TControlMapping& m = profile.Mappings[slot];
        AssignFunction(m, name);
        m.Ctrl = ctrl;
        m.Shift = shift;
        m.RepeatRate = rate;
        m.AutoRepeat = rate != 0;
    };
    set(AxisSlot(0, false), "VK_LEFT", false, false, 0);
    set(AxisSlot(0, true), "VK_RIGHT", false, false, 0);
    set(AxisSlot(1, false), "MOUSE_MOVE_Y_NEG", false, false, 0);
    set(HatSlot(0, 0), "VK_W", false, true, 16);
    set(ButtonSlot(0), "VK_A", true, false, 255);
    set(ButtonSlot(1), "MEDIA_PLAY", false, false, 0);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Padwright"));
    const QStringList args = QApplication::arguments();
    const qsizetype grab = args.indexOf(QStringLiteral("--grab"));

    TLists lists;
    DiLog log;
    RecordingInjector injector;
    RecordingSession session;
    TfrmMain window({lists, log, injector, session});

    MapDemoFunctions(AddProfile(lists, "Racing"));
    AddProfile(lists, "Desktop");
    for (const TProfile& p : lists.Profiles)
        window.cmbProfiles->addItem(QString::fromStdString(p.Name.str()));
    TJoystick& joystick = lists.ActiveJoysticks.push_back(DemoController());
    joystick.Profile = 1;
    window.cmbDevices->addItem(QString::fromStdString(ControllerListText(joystick)));
    window.cmbFoundDevices->addItem(QString::fromStdString(ControllerListText(joystick)));
    window.txtTimeInterval->setText(QStringLiteral("5"));
    window.txtMaxJoysticks->setText(QStringLiteral("4"));
    window.cmbDevices->setCurrentIndex(0);
    window.cmbDevicesClick();
    window.show();

    if (grab >= 0 && grab + 1 < args.size()) {
        const QString file = args[grab + 1];
        QTimer::singleShot(500, &window, [&] {
            const bool ok = window.grab().save(file, "PNG");
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(file));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return QApplication::exec();
}
