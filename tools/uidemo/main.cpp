// Shows the main window over a fixture controller (a device description of
// tests/fixtures/devices, or any path to one), made active with a profile selected and reading
// on, so the panel has rows to look at. Events recorded in the description are what the
// controller reports from its first reading on: a description that holds buttons or deflects an
// axis shows those rows with their live mark (usb-gamepad-held.evemu beside this file does).
// Settings and the profile store go to a temporary folder. With --grab FILE it writes the window
// to FILE as PNG once it is shown, and exits; --grab-dialogs PREFIX writes the control editor
// (on the first row), the name dialog and the question Exit asks about unsaved changes as
// PREFIX-editor.png, PREFIX-entry.png and PREFIX-question.png;
// --grab-capture FILE writes the editor after it took Ctrl+";" through "Press a key".
// --state empty shows the window of a machine whose one controller (the description's) this
// user may not read, --state unconnected one whose remembered wheel is not plugged in.
#include "engine/Catalogue.h"
#include "input/DiLog.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/eventloop/QtEventLoop.h"
#include "platform/inject/UinputInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/ProfileOperations.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"
#include "ui/frmEntry.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace padwright;

namespace {

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
    set(AxisSlot(1, true), "MOUSE_MOVE_Y_POS", false, false, 0);
    set(ButtonSlot(0), "VK_A", true, false, 255);
    set(ButtonSlot(1), "MEDIA_PLAY_PAUSE", false, false, 0);
    set(ButtonSlot(2), "VK_W", false, true, 16);
}

// The virtual device is not made: the demo sends nothing, but knows the desktop's layout.
struct NoDevice : IUinputWriter {
    void Write(std::span<const input_event>) override {}
};

void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Padwright"));
    const QStringList args = QApplication::arguments();
    const qsizetype grab = args.indexOf(QStringLiteral("--grab"));
    const qsizetype device = args.indexOf(QStringLiteral("--device"));
    const qsizetype stateArg = args.indexOf(QStringLiteral("--state"));
    const QString state = stateArg >= 0 && stateArg + 1 < args.size() ? args[stateArg + 1] : "";
    const std::string fixture = device >= 0 && device + 1 < args.size()
                                    ? args[device + 1].toStdString()
                                    : std::string("usb-gamepad-0079-0011.evemu");

    auto kernel = std::make_shared<FixtureKernel>();
    const std::string path = fixture.find('/') == std::string::npos
                                 ? std::string(PADWRIGHT_DEVICES_DIR) + "/" + fixture
                                 : fixture;
    EvemuDevice described;
    try {
        described = LoadEvemuFile(path);
    } catch (const EvemuError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
    const int node = kernel->Add(described.description, described.events);
    if (state == QLatin1String("empty"))
        kernel->SetDenied(node, true); // found, but this user may not read it
    else if (!state.isEmpty())
        kernel->Unplug(node);
    QTemporaryDir folder;
    Registry settings(folder.filePath(QStringLiteral("Padwright.conf")).toStdString());

    UinputInjector injector(std::make_unique<NoDevice>(), OpenDesktopLayout(nullptr));
    RecordingSession session;
    QtEventLoop loop;
    QtUserDialogs userDialogs;
    CoreParts parts{loop, injector, session, userDialogs, settings};
    parts.DirectInput = [kernel](std::shared_ptr<IDirectInput8>& out) {
        out = CreateFixtureDirectInput(kernel);
        return DI_OK;
    };
    parts.StorePath = folder.filePath(QStringLiteral("Padwright.pro")).toStdString();
    Core core(std::move(parts));
    TLists& lists = core.Lists;
    TfrmMain window(core, userDialogs);
    userDialogs.SetOwner(&window);

    MapDemoFunctions(AddProfile(lists, "Racing"));
    AddProfile(lists, "Desktop");
    window.LoadApplicationSettings();
    for (const TProfile& p : lists.Profiles)
        window.cmbProfiles->addItem(QString::fromStdString(p.Name.str()));
    window.StartDirectInput();
    window.cmbProfiles->setCurrentIndex(-1); // as at start-up
    if (state.isEmpty()) {
        Pick(window.cmbFoundDevices, 0);
        window.cmdAddDevice->click();
        Pick(window.cmbDevices, 0);
        Pick(window.cmbProfiles, 0);
    } else if (state == QLatin1String("unconnected")) {
        // A remembered wheel, not plugged in; the pad of the description is not plugged in either.
        TJoystick& wheel = lists.ActiveJoysticks.emplace_back();
        wheel.Name = "Logitech G29 Driving Force Racing Wheel";
        StringToGuid("{6F1D2B61-D5A0-11CF-BFC7-444553540000}", wheel.Guid);
        wheel.Profile = 1;
        window.core.Controllers.View.cmbDevices.Add(ControllerListText(wheel));
        window.SyncControllerWidgets();
        Pick(window.cmbDevices, 0);
    }
    window.show();

    if (grab >= 0 && grab + 1 < args.size()) {
        const QString file = args[grab + 1];
        // By value: the timer fires after this block's locals are gone.
        QTimer::singleShot(500, &window, [&window, file] {
            const bool ok = window.grab().save(file, "PNG");
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(file));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    const qsizetype dialogs = args.indexOf(QStringLiteral("--grab-dialogs"));
    if (dialogs >= 0 && dialogs + 1 < args.size()) {
        const QString prefix = args[dialogs + 1];
        auto grabModal = [](const QString& file) {
            QTimer::singleShot(300, [file] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (dialog)
                    dialog->grab().save(file, "PNG");
                std::printf("%s %s\n", dialog ? "wrote" : "no dialog for", qPrintable(file));
                if (auto* d = qobject_cast<QDialog*>(dialog))
                    d->reject();
            });
        };
        QTimer::singleShot(300, &window, [&window, grabModal, prefix] {
            grabModal(prefix + "-editor.png");
            window.SettingsRowClick(window.SettingsRows.at(4).NameBox);
            grabModal(prefix + "-entry.png");
            window.frmEntry->AskName(QStringLiteral("Racing"));
            grabModal(prefix + "-question.png");
            window.chkStartMinimized->toggle(); // a change that Save would keep
            window.cmdExitClick();
            QApplication::exit(0);
        });
    }
    const qsizetype capture = args.indexOf(QStringLiteral("--grab-capture"));
    if (capture >= 0 && capture + 1 < args.size()) {
        const QString file = args[capture + 1];
        QTimer::singleShot(300, &window, [&window, file] {
            TfrmControlEntry& editor = *window.frmControlEntry;
            QTimer::singleShot(300, &editor, [&editor, file] {
                editor.cmdPressKey->click();
                // Ctrl with the key right of L, as X delivers it: its key code is the kernel's + 8.
                constexpr quint32 SemicolonKey = 39 + 8;
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Semicolon, Qt::ControlModifier,
                               SemicolonKey, 0, 0, QStringLiteral(";"));
                QApplication::sendEvent(editor.cmbFunction, &down);
                QTimer::singleShot(200, &editor, [&editor, file] {
                    const bool ok = editor.grab().save(file, "PNG");
                    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(file));
                    editor.reject();
                });
            });
            window.SettingsRowClick(window.SettingsRows.at(4).NameBox);
            QApplication::exit(0);
        });
    }
    return QApplication::exec();
}
