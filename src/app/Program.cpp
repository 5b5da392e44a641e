#include "app/Program.h"

#include "app/GuidRefresh.h"
#include "app/PlugFollower.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/TrayHostProbe.h"
#include "platform/dinput/LibevdevKernel.h"
#include "platform/session/DesktopSession.h"
#include "ui/TrayIcon.h"
#include "ui/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace padwright {

Program::Parts Program::RealParts() {
    Parts parts;
    parts.Injector = ChooseInjector();
    parts.Session = std::make_unique<DesktopSession>();
    parts.JoystickIds = std::make_shared<JoystickIdTable>();
    parts.DirectInput = [ids = parts.JoystickIds](std::shared_ptr<IDirectInput8>& out) {
        return CreateEvdevDirectInput(out, ids);
    };
    parts.TrayProbe = ProbeTrayHost;
    parts.PlugMonitor = OpenPlugMonitor;
    return parts;
}

Program::Program(Parts parts) : parts_(std::move(parts)) {
    TMainDependencies dependencies{lists_, log_, *parts_.Injector.injector, *parts_.Session,
                                   parts_.Dialogs};
    dependencies.Injection = parts_.Injector.status;
    dependencies.DirectInput = parts_.DirectInput;
    dependencies.JoystickIds = parts_.JoystickIds;
    dependencies.Settings = parts_.Settings;
    frmMain_ = std::make_unique<TfrmMain>(std::move(dependencies));
    tray_ = std::make_unique<TrayIcon>(*frmMain_);
    tray_->SetHostProbe(parts_.TrayProbe);
    frmMain_->SetTrayView(tray_.get());
    ConnectTrayMenu();
    frmMain_->installEventFilter(this);
    // Also when the window starts hidden, or from a terminal where no box is ever seen.
    if (parts_.Injector.status.level != InjectionLevel::Full)
        std::fprintf(stderr, "Padwright: %s\n", parts_.Injector.status.message.c_str());
    // Before the first enumeration, so that nothing plugged in meanwhile goes unnoticed.
    FollowPlugging();
    FormCreate();
}

void Program::FollowPlugging() {
    std::unique_ptr<IPlugMonitor> monitor = parts_.PlugMonitor ? parts_.PlugMonitor() : nullptr;
    if (!monitor)
        return;
    TfrmMain* w = frmMain_.get();
    plugs_ = std::make_unique<PlugFollower>(std::move(monitor), [w](bool lastTry) {
        bool again = false;
        w->RunHandler([&] {
            const bool slept = w->Reader().Asleep();
            again =
                w->Controllers.FollowPlugging(lastTry) == ControllerAccess::PlugResult::TryAgain;
            // A controller opened again is waited on from the run this starts.
            w->ReadAtOnce(slept);
        });
        return again;
    });
}

void Program::ConnectTrayMenu() {
    TfrmMain* w = frmMain_.get();
    connect(&tray_->popItemStart(), &QAction::triggered, w,
            [w] { w->RunHandler([w] { w->popItemStartClick(); }); });
    connect(&tray_->popItemStop(), &QAction::triggered, w,
            [w] { w->RunHandler([w] { w->popItemStopClick(); }); });
    tray_->SetExit([w] { w->RunHandler([w] { w->cmdExitClick(); }); });
}

template <typename Step> void Program::StartUpStep(Step&& step) {
    frmMain_->RunHandler(std::forward<Step>(step));
}

void Program::FormCreate() {
    TfrmMain& w = *frmMain_;
    // An unreadable store or a log that cannot be created is reported and start-up goes on:
    // stopping there would leave the program without controllers and without its tray icon.
    StartUpStep([&] { w.LoadProfileStore(); });
    // Settings, range defaults, the log, the remembered controllers.
    StartUpStep([&] { startMinimized_ = w.LoadApplicationSettings(); });
    StartUpStep([&] {
        w.Controllers.RememberJoystickIds();
        w.StartDirectInput();
    });
    StartUpStep([&] { RefreshActiveGuids(lists_); });
    StartUpStep([&] { w.popItemStartClick(); });
    w.TrayFrame = 1;
    // At login the desktop's notification area may come up after Padwright; starting in it,
    // the icon waits for it (ShowMainWindow), as the icon's protocol is chosen at its creation.
    if (!startMinimized_ || tray_->Host() != TrayHost::None)
        tray_->Add(); // also hooks the minimise event
    // What start-up read, GUIDs refreshed, is what Exit compares with until the next Save.
    w.RememberSavedState();
}

void Program::Quit() {
    // A question still open (say "Save changes before exiting?") is closed unanswered, as
    // Cancel: nothing is saved, and no box waits for a person who is logging out.
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
    frmMain_->close();
}

void Program::ShowMainWindow() {
    if (startMinimized_ && !tray_->IsAdded()) {
        WaitForTrayHost();
        return;
    }
    // Without a notification area a hidden window could never be brought back.
    if (startMinimized_ && tray_->CanHideWindow()) {
        // The box about input waits for the window; the icon says it now.
        if (parts_.Injector.status.level != InjectionLevel::Full)
            tray_->Notify(QStringLiteral("Padwright"),
                          QString::fromStdString(parts_.Injector.status.message));
        return;
    }
    frmMain_->show();
}

void Program::WaitForTrayHost() {
    auto* wait = new QTimer(this);
    wait->setInterval(TrayHostPollMs);
    connect(wait, &QTimer::timeout, this, [this, wait, waited = 0]() mutable {
        waited += TrayHostPollMs;
        if (tray_->Host() == TrayHost::None && waited < TrayHostWaitMs)
            return;
        wait->deleteLater();
        tray_->Add();
        ShowMainWindow();
    });
    wait->start();
}

bool Program::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frmMain_.get() && event->type() == QEvent::Close) {
        // Decided after the window has handled the close: the window is gone from the screen
        // then, also when it was hidden in the tray.
        QTimer::singleShot(0, this, [this] {
            if (!frmMain_->isVisible())
                emit MainWindowClosed();
        });
    }
    return QObject::eventFilter(watched, event);
}

void Program::FormDestroy() {
    // Released here, while the engine can still send: under XTest the X server would keep
    // whatever is down after the program is gone.
    for (TJoystick& joystick : lists_.ActiveJoysticks)
        if (joystick.Acquired)
            frmMain_->Controllers.CloseController(joystick);
    tray_->Remove();
    try {
        log_.Close();
    } catch (const std::exception& e) {
        // Nobody is left to show a box to; the lines that did reach the disk stay.
        std::fprintf(stderr, "Padwright: %s\n", e.what());
    }
}

Program::~Program() {
    plugs_.reset();
    frmMain_->removeEventFilter(this);
    FormDestroy();
    frmMain_->SetTrayView(nullptr);
    tray_.reset();
    // The lists, rows first: they point into Profiles.
    frmMain_->SettingsRows.clear();
    lists_.Profiles.clear();
    lists_.ActiveJoysticks.clear(); // releases every controller's device
    lists_.FoundJoysticks.clear();
    frmMain_->Controllers.ReleaseDirectInput();
    frmMain_.reset(); // the windows, their timers and the engine
    parts_.Session.reset();
    // Last, when nothing can send input any more: releases every key and button still down.
    parts_.Injector.injector.reset();
}

namespace {

// A quit request that comes while start-up still runs (a box about the store, say) is kept
// until start-up ends; meanwhile every box it opens is closed at once, so that nothing waits for
// a person who is logging out.
class StartUpQuit : public QObject {
public:
    void Request() {
        if (requested_)
            return;
        requested_ = true;
        qApp->installEventFilter(this);
        CloseModal();
    }
    bool Requested() const { return requested_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched))
            QTimer::singleShot(0, this, &StartUpQuit::CloseModal);
        return QObject::eventFilter(watched, event);
    }

private:
    static void CloseModal() {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    }
    bool requested_ = false;
};

} // namespace

int RunProgram(QApplication& app, SingleInstance& instance) {
    QApplication::setApplicationName(QStringLiteral("Padwright"));
    QApplication::setApplicationVersion(QStringLiteral(PADWRIGHT_VERSION));
    // The Wayland app id and the X11 class name the desktop matches the menu entry by.
    QGuiApplication::setDesktopFileName(QStringLiteral("padwright"));
    // The run ends when the main window closes, not when the last visible window does: with the
    // window in the tray, closing a message box must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Before anything shows: a tray host may embed the icon, and a session manager may send
    // SIGTERM, while the window is still being built. The signal is acted on in the event loop.
    Program* running = nullptr;
    StartUpQuit startUpQuit;
    QuitSignals quitSignals([&running, &startUpQuit] {
        if (running)
            running->Quit();
        else
            startUpQuit.Request();
    });
    Program program(Program::RealParts());
    running = &program;
    if (startUpQuit.Requested()) {
        instance.Release();
        return 0;
    }
    // Polling at every interval, as before the reader learnt to sleep: for measuring the two
    // side by side.
    if (qEnvironmentVariable("PADWRIGHT_READING") == QLatin1String("poll"))
        program.MainWindow().Reader().SleepAtRest = false;
    QApplication::setWindowIcon(program.Tray().ApplicationIcon());
    QObject::connect(&program, &Program::MainWindowClosed, &app, &QCoreApplication::quit);
    program.ShowMainWindow();
    const int code = QApplication::exec();
    instance.Release();
    return code;
}

} // namespace padwright
