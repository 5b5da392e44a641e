#include "app/Program.h"

#include "platform/focus/ForegroundProgram.h"

#include "app/InstanceBus.h"
#include "app/QuitSignals.h"
#include "app/TrayHostProbe.h"
#include "app/TrayHostWatch.h"
#include "core/GuidRefresh.h"
#include "core/PlugFollower.h"
#include "platform/dinput/LibevdevKernel.h"
#include "platform/instance/InstanceLock.h"
#include "platform/session/DesktopSession.h"
#include "ui/TrayIcon.h"
#include "ui/frmMain.h"
#include "ui/frmPrograms.h"

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
    parts.TrayHostWatch = [](std::function<void()> changed) -> std::unique_ptr<QObject> {
        return std::make_unique<TrayHostWatch>(std::move(changed));
    };
    parts.PlugMonitor = OpenPlugMonitor;
    parts.ForegroundSource = MakeForegroundSource;
    parts.PublishCommands = true;
    return parts;
}

Program::Program(Parts parts)
    : parts_(std::move(parts)),
      ownDialogs_(parts_.Dialogs ? nullptr : std::make_unique<QtUserDialogs>()),
      ownSettings_(parts_.Settings ? nullptr : std::make_unique<Registry>()),
      dialogs_(parts_.Dialogs ? *parts_.Dialogs : *ownDialogs_) {
    CoreParts core{loop_, *parts_.Injector.injector, *parts_.Session, dialogs_,
                   parts_.Settings ? *parts_.Settings : *ownSettings_};
    core.DirectInput = parts_.DirectInput;
    core.JoystickIds = parts_.JoystickIds;
    core_ = std::make_unique<Core>(std::move(core));
    frmMain_ = std::make_unique<TfrmMain>(*core_, dialogs_, parts_.Injector.status);
    // The error box and the file dialogs centre on the main window.
    if (ownDialogs_)
        static_cast<QtUserDialogs&>(*ownDialogs_).SetOwner(frmMain_.get());
    tray_ = std::make_unique<TrayIcon>(*frmMain_);
    tray_->SetHostProbe(parts_.TrayProbe);
    if (parts_.TrayHostWatch)
        trayWatch_ = parts_.TrayHostWatch([this] { tray_->HostChanged(); });
    core_->SetTrayView(tray_.get());
    ConnectTrayMenu();
    connect(frmMain_.get(), &TfrmMain::Closed, this, &Program::MainWindowClosed);
    // Also when the window starts hidden, or from a terminal where no box is ever seen.
    if (parts_.Injector.status.level != InjectionLevel::Full)
        std::fprintf(stderr, "Padwright: %s\n", parts_.Injector.status.message.c_str());
    // Before the first enumeration, so that nothing plugged in meanwhile goes unnoticed.
    FollowPlugging();
    FormCreate();
    FollowPrograms();
}

void Program::FollowPrograms() {
    follower_ = std::make_unique<ProgramFollower>(*core_);
    if (parts_.ForegroundSource)
        foreground_ = parts_.ForegroundSource(loop_);
    if (foreground_ && foreground_->Available()) {
        ProgramFollower* follower = follower_.get();
        Core* core = core_.get();
        foreground_->Watch([core, follower](const ForegroundProgram& program) {
            core->Run([&] { follower->ProgramInFront(program); });
        });
        follower_->ProgramInFront(foreground_->Current());
    }
    frmPrograms_ =
        std::make_unique<TfrmPrograms>(*core_, *follower_, foreground_.get(), frmMain_.get());
    frmMain_->ShowPrograms = [this](int profile) { frmPrograms_->ShowFor(profile); };
    if (!parts_.PublishCommands)
        return;
    InstanceBus::Hooks hooks;
    hooks.inFront = [this] {
        const auto& front = follower_->InFront();
        return front ? ProgramName(*front) : std::string();
    };
    hooks.show = [this] { tray_->popItemShowClick(); };
    bus_ = std::make_unique<InstanceBus>(*core_, std::move(hooks));
    bus_->Publish();
}

void Program::FollowPlugging() {
    std::unique_ptr<IPlugMonitor> monitor = parts_.PlugMonitor ? parts_.PlugMonitor() : nullptr;
    if (!monitor)
        return;
    plugs_ = padwright::FollowPlugging(*core_, loop_, std::move(monitor));
}

void Program::ConnectTrayMenu() {
    Core* core = core_.get();
    connect(&tray_->popItemStart(), &QAction::triggered, tray_.get(),
            [core] { core->Run([core] { core->StartReading(); }); });
    connect(&tray_->popItemStop(), &QAction::triggered, tray_.get(),
            [core] { core->Run([core] { core->StopReading(); }); });
    TfrmMain* w = frmMain_.get();
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
    StartUpStep([&] { w.StartDirectInput(); });
    StartUpStep([&] { RefreshActiveGuids(core_->Lists); });
    StartUpStep([&] { core_->StartReading(); });
    core_->TrayFrame = 1;
    // At login the desktop's notification area may come up after Padwright; starting in it,
    // the icon waits for it (ShowMainWindow), as the icon's protocol is chosen at its creation.
    if (!startMinimized_ || tray_->Host() != TrayHost::None)
        tray_->Add(); // also hooks the minimise event
    // What start-up read, GUIDs refreshed, is what Exit compares with until the next Save.
    w.RememberSavedState();
}

void Program::Quit() {
    // Nothing is saved, and no box waits for a person who is logging out.
    frmMain_->CloseUnasked();
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
        tray_->HostChanged(); // start-up only: at rest the watch says when to ask
        if (tray_->Host() == TrayHost::None && waited < TrayHostWaitMs)
            return;
        wait->deleteLater();
        tray_->Add();
        ShowMainWindow();
    });
    wait->start();
}

Program::~Program() {
    // No command and no word of the program in front comes in while the run ends.
    bus_.reset();
    if (foreground_)
        foreground_->Watch({});
    frmMain_->ShowPrograms = nullptr;
    frmPrograms_.reset();
    plugs_.reset();
    trayWatch_.reset();
    core_->ShutDown();
    core_->SetTrayView(nullptr);
    tray_.reset();
    frmMain_.reset(); // the windows, whose rows point into Profiles
    core_.reset();    // the lists, the controllers' devices, its timers and the engine
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

int RunProgram(QApplication& app, IInstanceLock& instance, ReadingPace pace,
               const PartsChange& change) {
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
    Program::Parts parts = Program::RealParts();
    if (change)
        change(parts);
    Program program(std::move(parts));
    running = &program;
    if (startUpQuit.Requested()) {
        instance.Release();
        return 0;
    }
    program.ProgramCore().Reader().SleepAtRest = pace == ReadingPace::SleepAtRest;
    QApplication::setWindowIcon(program.Tray().ApplicationIcon());
    QObject::connect(&program, &Program::MainWindowClosed, &app, &QCoreApplication::quit);
    program.ShowMainWindow();
    const int code = QApplication::exec();
    instance.Release();
    return code;
}

} // namespace padwright
