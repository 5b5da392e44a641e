#pragma once
// One run of Padwright: what it owns, the start-up sequence of the main window and the shut-down,
// each in its fixed order.
#include "core/Core.h"
#include "core/ProgramRules.h"
#include "platform/dinput/PlugMonitor.h"
#include "platform/eventloop/QtEventLoop.h"
#include "platform/inject/InjectorChoice.h"
#include "platform/session/Session.h"
#include "ui/TrayIcon.h"
#include "ui/frmMain.h"

#include <QObject>

#include <functional>
#include <memory>

class QApplication;

namespace padwright {

class InstanceBus;
class PlugFollower;
class IInstanceLock;
class TfrmPrograms;

class Program : public QObject {
    Q_OBJECT
public:
    // What a run is built from; tests hand in fakes, the program the real ones.
    struct Parts {
        InjectorChoice Injector;
        std::unique_ptr<ISessionControl> Session;
        IUserDialogs* Dialogs = nullptr; // null: real message boxes
        DirectInputEntry DirectInput;    // empty: no controller API
        // The joystick ID table DirectInput hands out from; remembered controllers seed it.
        std::shared_ptr<JoystickIdTable> JoystickIds;
        Registry* Settings = nullptr;  // null: the user's own settings
        TrayIcon::HostProbe TrayProbe; // empty: the toolkit's answer
        // Word of the notification area coming or going, run with what to do then; empty: the
        // first answer of TrayProbe stands.
        std::function<std::unique_ptr<QObject>(std::function<void()>)> TrayHostWatch;
        // Word of plugging; empty or null: the found list changes only on Refresh.
        std::function<std::unique_ptr<IPlugMonitor>()> PlugMonitor;
        // Word of the program in front; empty: profiles follow no program.
        std::function<std::unique_ptr<IForegroundSource>(IEventLoop&)> ForegroundSource;
        // Takes the session bus name and offers the commands for the running instance.
        bool PublishCommands = false;
    };
    // Starting in the notification area when there is none yet, how long the program waits for
    // one (at login the desktop may bring it up after Padwright) and how often it looks.
    static constexpr int TrayHostWaitMs = 5000;
    static constexpr int TrayHostPollMs = 250;
    static Parts RealParts();

    // Creates the main window with its dialogs and runs its start-up sequence (FormCreate).
    explicit Program(Parts parts);
    // Shut-down: the core's part (controllers released, icon removed, log closed), then the lists,
    // then the injector, which releases every key and button still held down.
    ~Program() override;

    // Shows the main window unless the program starts minimised and a notification area can
    // bring it back; starting minimised with none yet, it decides once one came or the wait
    // is over. Starting hidden while input cannot reach every program, the icon says so.
    void ShowMainWindow();
    bool StartMinimized() const { return startMinimized_; }

    // SIGTERM, SIGINT, SIGHUP: the window closes without a question and nothing is saved; the
    // run then ends as after Exit.
    void Quit();

    TfrmMain& MainWindow() { return *frmMain_; }
    ProgramFollower& Follower() { return *follower_; }
    TrayIcon& Tray() { return *tray_; }
    Core& ProgramCore() { return *core_; }
    TLists& Lists() { return core_->Lists; }
    DiLog& Log() { return core_->Log; }

signals:
    // The main window was closed (Exit, the tray's "Exit", the close box): the run ends.
    void MainWindowClosed();

private:
    // "Start Reading Data" and "Stop Reading Data" are the core's commands; "Exit" is the
    // window's, which asks about unsaved work.
    void ConnectTrayMenu();
    // Plugging updates the found list and reopens returning controllers through the window.
    void FollowPlugging();
    // Profiles follow the program in front; the Programs dialog; the commands on the bus.
    void FollowPrograms();
    void FormCreate();
    void WaitForTrayHost();
    // Runs one start-up step; an error is shown in the standard error box and start-up goes
    // on with the next step, so that one unreadable file costs only what it holds.
    template <typename Step> void StartUpStep(Step&& step);

    Parts parts_;
    std::unique_ptr<IUserDialogs> ownDialogs_; // when the parts bring none
    std::unique_ptr<Registry> ownSettings_;    // when the parts bring none
    IUserDialogs& dialogs_;
    QtEventLoop loop_;
    std::unique_ptr<Core> core_;
    std::unique_ptr<TfrmMain> frmMain_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<QObject> trayWatch_;
    std::unique_ptr<PlugFollower> plugs_;
    std::unique_ptr<IForegroundSource> foreground_;
    std::unique_ptr<ProgramFollower> follower_;
    std::unique_ptr<TfrmPrograms> frmPrograms_;
    std::unique_ptr<InstanceBus> bus_;
    bool startMinimized_ = false;
};

// How the reader paces the cycle at rest: asleep until input comes (the program), or on its timer
// all the same (the design before the reader learnt to sleep, kept for side-by-side figures).
enum class ReadingPace { SleepAtRest, PollAtRest };

// What a build of the program changes in the real parts before the run starts (the controllers
// a test or a benchmark brings, say); empty for the program itself.
using PartsChange = std::function<void(Program::Parts&)>;

// Builds the real program, `change` applied to its parts, runs the event loop until the main
// window closes, releases `instance`, then shuts down. Returns the exit code.
int RunProgram(QApplication& app, IInstanceLock& instance,
               ReadingPace pace = ReadingPace::SleepAtRest, const PartsChange& change = {});

} // namespace padwright
