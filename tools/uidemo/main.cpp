// Shows the main window over a fixture controller (a device description of
// tests/fixtures/devices, or any path to one), made active with a profile selected and reading
// on, so the panel has rows to look at. Events recorded in the description are what the
// controller reports from its first reading on: a description that holds buttons or deflects an
// axis shows those rows with their live mark (usb-gamepad-held.evemu beside this file does).
// Settings and the profile store go to a temporary folder. With --grab FILE it writes the window
// to FILE as PNG once it is shown, and exits; --grab-dialogs PREFIX writes the control editor
// (on the first row) and the name dialog as PREFIX-editor.png and PREFIX-entry.png.
#include "engine/Catalogue.h"
#include "input/DiLog.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/ProfileOperations.h"
#include "ui/StaticText.h"
#include "ui/frmControlEntry.h"
#include "ui/frmEntry.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
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
    kernel->Add(described.description, described.events);
    QTemporaryDir folder;
    Registry settings(folder.filePath(QStringLiteral("Padwright.conf")));

    TLists lists;
    DiLog log;
    RecordingInjector injector;
    RecordingSession session;
    TMainDependencies dependencies{lists, log, injector, session};
    dependencies.DirectInput = [kernel](std::shared_ptr<IDirectInput8>& out) {
        out = CreateFixtureDirectInput(kernel);
        return DI_OK;
    };
    dependencies.Settings = &settings;
    dependencies.StorePath = folder.filePath(QStringLiteral("Padwright.pro"));
    TfrmMain window(std::move(dependencies));

    MapDemoFunctions(AddProfile(lists, "Racing"));
    AddProfile(lists, "Desktop");
    window.LoadApplicationSettings();
    for (const TProfile& p : lists.Profiles)
        window.cmbProfiles->addItem(QString::fromStdString(p.Name.str()));
    window.StartDirectInput();
    Pick(window.cmbFoundDevices, 0);
    window.cmdAddDevice->click();
    Pick(window.cmbDevices, 0);
    Pick(window.cmbProfiles, 0);
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
            QApplication::exit(0);
        });
    }
    return QApplication::exec();
}
