// The start-up sequence and the shut-down of the program, in process, over a fixture controller
// API, recorders and a settings file in a temporary folder.
#include "app/Program.h"
#include "app/QuitSignals.h"
#include "engine/Catalogue.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/InstanceGuid.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "store/Registry.h"
#include "ui/TrayIcon.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

namespace padwright {
namespace {

constexpr const char* PadFile = PADWRIGHT_DEVICES_DIR "/xbox360-pad-xpad-ayaneo-air.evemu";

class RecordingDialogs : public IUserDialogs {
public:
    void Warning(std::string_view text, std::string_view) override { boxes << Text(text); }
    void Error(std::string_view text) override { errors << Text(text); }
    QMessageBox::StandardButton Question(const QString& text, QMessageBox::StandardButtons,
                                         QMessageBox::StandardButton) override {
        questions << text;
        return answer;
    }
    std::optional<QString> OpenProfileFile() override { return std::nullopt; }
    std::optional<QString> SaveProfileFile() override { return std::nullopt; }
    static QString Text(std::string_view text) {
        return QString::fromUtf8(text.data(), text.size());
    }
    QStringList boxes;
    QStringList errors;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

// Tells, when it is destroyed, whether anything that could still send input was alive then.
class LastInjector : public RecordingInjector {
public:
    LastInjector(QPointer<QWidget>& window, bool& windowGoneFirst)
        : window_(window), windowGoneFirst_(windowGoneFirst) {}
    ~LastInjector() override { windowGoneFirst_ = window_.isNull(); }

private:
    QPointer<QWidget>& window_;
    bool& windowGoneFirst_;
};

class StartupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "startup-test";
        static char* argv[] = {name, nullptr};
        if (!qApp)
            new QApplication(argc, argv);
    }

    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(work.path()); // the store and the log lie in the working folder
    }

    void TearDown() override {
        program.reset();
        QDir::setCurrent(previous);
    }

    void WriteSettings(const QByteArray& ini) {
        QFile file(work.filePath("settings.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }

    // The pad as it is attached now; returns its node.
    int AttachPad() { return kernel->Add(LoadEvemuFile(PadFile).description); }

    void Start(std::unique_ptr<IInputInjector> injector = std::make_unique<RecordingInjector>()) {
        settings = std::make_unique<Registry>(work.filePath("settings.ini").toStdString());
        Program::Parts parts;
        parts.Injector.injector = std::move(injector);
        parts.Session = std::make_unique<RecordingSession>();
        parts.Dialogs = &dialogs;
        parts.Settings = settings.get();
        parts.Injector.status = injection;
        parts.TrayProbe = [this] { return host; };
        parts.JoystickIds = std::make_shared<JoystickIdTable>();
        parts.DirectInput = [k = kernel,
                             ids = parts.JoystickIds](std::shared_ptr<IDirectInput8>& out) {
            out = CreateFixtureDirectInput(k, ids);
            return DI_OK;
        };
        program = std::make_unique<Program>(std::move(parts));
    }

    TfrmMain& Window() { return program->MainWindow(); }
    QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
    // Which image the tray shows: -1 the application icon, 0..3 a frame.
    int Shown() {
        TrayIcon& tray = program->Tray();
        const qint64 key = tray.CurrentIcon().cacheKey();
        for (int i = 0; i < TrayIcon::FrameCount; ++i)
            if (key == tray.Frame(i).cacheKey())
                return i;
        return key == tray.ApplicationIcon().cacheKey() ? -1 : -2;
    }
    // One data-collection tick after tmrSTray has fired.
    int TickAfterTrayTimer() {
        Window().tmrSTrayTimer();
        Window().core.TrayAnimationStep();
        return Shown();
    }
    std::string Log() {
        QFile file(work.filePath("Padwright.log"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<no log>";
    }

    QTemporaryDir work;
    QString previous;
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    std::unique_ptr<Registry> settings;
    RecordingDialogs dialogs;
    TrayHost host = TrayHost::None;
    InjectionStatus injection{InjectionLevel::Full, "uinput", {}};
    std::unique_ptr<Program> program;
};

TEST_F(StartupTest, WithNothingStoredReadingIsOnAndNothingIsSelected) {
    Start();
    EXPECT_TRUE(dialogs.errors.isEmpty()) << dialogs.errors.join('|').toStdString();
    EXPECT_EQ(program->Lists().MaxJoysticks, 4);
    EXPECT_EQ(Window().core.TimeInterval(), 5u);
    EXPECT_FALSE(program->StartMinimized());
    EXPECT_TRUE(Window().core.ReadingOn());
    EXPECT_FALSE(program->Tray().popItemStart().isEnabled());
    EXPECT_TRUE(program->Tray().popItemStop().isEnabled());
    EXPECT_TRUE(program->Tray().IsAdded());
    EXPECT_EQ(Window().core.TrayFrame, 1);
    EXPECT_EQ(Window().cmbDevices->currentIndex(), -1);
    EXPECT_EQ(Window().cmbFoundDevices->currentIndex(), -1);
    EXPECT_FALSE(Window().isVisible()); // shown only when the loop starts
}

TEST_F(StartupTest, TrayAnimationBeginsWithFrameOneAndWithFrameZeroAfterAPause) {
    Start();
    EXPECT_EQ(Shown(), -1);
    Window().core.TrayAnimationStep(); // tmrSTray still runs from the window's creation
    EXPECT_EQ(Shown(), -1);
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i)
        frames.push_back(TickAfterTrayTimer());
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1}));

    Window().core.PauseReading();
    EXPECT_EQ(Shown(), -1);
    EXPECT_TRUE(program->Tray().popItemStart().isEnabled());
    EXPECT_FALSE(program->Tray().popItemStop().isEnabled());
    Window().core.ResumeReading();
    frames.clear();
    for (int i = 0; i < 3; ++i)
        frames.push_back(TickAfterTrayTimer());
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2}));
}

// No controller is read: the first data-collection tick switches reading off again.
TEST_F(StartupTest, FirstTickWithoutControllersPausesReading) {
    Start();
    Window().tmrDataCollectTimer();
    EXPECT_FALSE(Window().core.ReadingOn());
    EXPECT_TRUE(program->Tray().popItemStart().isEnabled());
}

TEST_F(StartupTest, RememberedControllerNotAttachedIsListedNotReadAndLogged) {
    WriteSettings("[General]\nLogFile=1\n\n[Joystick0]\nName=Gone Pad\n"
                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\n");
    Start();
    ASSERT_EQ(program->Lists().ActiveJoysticks.count(), 1);
    const TJoystick& gone = program->Lists().ActiveJoysticks[0];
    EXPECT_FALSE(gone.Acquired);
    EXPECT_EQ(Items(Window().cmbDevices), QStringList{"Name: Gone Pad -- ID: 0"});
    EXPECT_EQ(Window().cmbDevices->currentIndex(), -1);
    EXPECT_TRUE(dialogs.errors.isEmpty() && dialogs.boxes.isEmpty());
    program.reset(); // the log is complete once closed
    const std::string log = Log();
    EXPECT_EQ(log.rfind("Failed to create device: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

TEST_F(StartupTest, RememberedControllerAttachedUnderANewGuidIsOpened) {
    AttachPad();
    WriteSettings("[Joystick0]\nName=Microsoft X-Box 360 pad\n"
                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\nMaxVal=10\n");
    Start();
    ASSERT_EQ(program->Lists().FoundJoysticks.count(), 1);
    ASSERT_EQ(program->Lists().ActiveJoysticks.count(), 1);
    const TJoystick& pad = program->Lists().ActiveJoysticks[0];
    EXPECT_EQ(pad.Guid, program->Lists().FoundJoysticks[0].Guid);
    EXPECT_TRUE(pad.Acquired);
    EXPECT_EQ(Items(Window().cmbFoundDevices), Items(Window().cmbDevices));
}

// Two identical pads without serials, remembered by port; found the other way round at
// start-up, each still gets its own ID, GUID and settings.
TEST_F(StartupTest, IdenticalPadsKeepTheirOwnSettingsWhateverTheNodeOrder) {
    EvdevDescription pad = LoadEvemuFile(PadFile).description;
    pad.uniq.clear();
    auto onPort = [&](const char* port) {
        pad.phys = port;
        return pad;
    };
    const QString left = QString::fromStdString(GuidToString(InstanceGuid(onPort("usb-1"))));
    const QString right = QString::fromStdString(GuidToString(InstanceGuid(onPort("usb-2"))));
    kernel->Add(onPort("usb-2"));
    kernel->Add(onPort("usb-1"));
    WriteSettings(("[Joystick0]\nName=Microsoft X-Box 360 pad\nGUID=" + left +
                   "\nID=0\nMaxVal=30\n\n[Joystick1]\nName=Microsoft X-Box 360 pad\nGUID=" + right +
                   "\nID=1\nMaxVal=40\n")
                      .toUtf8());
    Start();
    const auto& active = program->Lists().ActiveJoysticks;
    ASSERT_EQ(active.count(), 2);
    EXPECT_EQ(GuidToString(active[0].Guid), left.toStdString());
    EXPECT_EQ(active[0].MaxVal, 30);
    EXPECT_EQ(GuidToString(active[1].Guid), right.toStdString());
    EXPECT_TRUE(active[0].Acquired && active[1].Acquired);
    EXPECT_EQ(Items(Window().cmbFoundDevices),
              (QStringList{"Name: Microsoft X-Box 360 pad -- ID: 1",
                           "Name: Microsoft X-Box 360 pad -- ID: 0"}));
}

// The kernel names this pad "USB Gamepad " and the settings keep names trimmed. Moved to
// another port it has a new GUID, and is still known by its name: it keeps the remembered ID,
// the start-up refresh gives the remembered controller its GUID, and Add refuses it as the
// controller already active.
TEST_F(StartupTest, APadNamedWithATrailingBlankIsKnownOnAnotherPort) {
    EvdevDescription pad =
        LoadEvemuFile(PADWRIGHT_DEVICES_DIR "/usb-gamepad-0079-0011.evemu").description;
    ASSERT_EQ(pad.name, "USB Gamepad ");
    pad.phys = "usb-1";
    const QString remembered = QString::fromStdString(GuidToString(InstanceGuid(pad)));
    pad.phys = "usb-2";
    kernel->Add(pad);
    WriteSettings("[Joystick0]\nName=\"USB Gamepad \"\nGUID=" + remembered.toUtf8() + "\nID=3\n");
    Start();
    const auto& lists = program->Lists();
    ASSERT_EQ(lists.FoundJoysticks.count(), 1);
    ASSERT_EQ(lists.ActiveJoysticks.count(), 1);
    EXPECT_EQ(lists.FoundJoysticks[0].JoystickID, 3u);
    EXPECT_EQ(lists.ActiveJoysticks[0].Guid, lists.FoundJoysticks[0].Guid);
    EXPECT_TRUE(lists.ActiveJoysticks[0].Acquired);

    Window().cmbFoundDevices->setCurrentIndex(0);
    emit Window().cmbFoundDevices->activated(0);
    Window().cmdAddDevice->click();
    EXPECT_EQ(lists.ActiveJoysticks.count(), 1);
}

TEST_F(StartupTest, LogThatCannotBeCreatedIsReportedAndStartUpGoesOn) {
    ASSERT_TRUE(QDir(work.path()).mkdir("Padwright.log")); // a folder where the log goes
    WriteSettings("[General]\nLogFile=1\nStartMinimized=2\nTimeInterval=40\n\n"
                  "[Joystick0]\nName=Gone Pad\nGUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\n");
    Start();
    EXPECT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join('|').toStdString();
    EXPECT_FALSE(program->Log().LogEnabled());
    EXPECT_FALSE(Window().chkLogFile->isChecked()) << "the box shows logging off";
    EXPECT_EQ(Window().core.TimeInterval(), 40u);
    EXPECT_EQ(program->Lists().ActiveJoysticks.count(), 1);
    EXPECT_TRUE(Window().core.ReadingOn());
    EXPECT_TRUE(program->Tray().IsAdded());
}

TEST_F(StartupTest, StoreThatCannotBeReadIsReportedAndStartUpGoesOn) {
    ASSERT_TRUE(QDir(work.path()).mkdir("Padwright.pro")); // exists, cannot be read as a file
    WriteSettings("[General]\nStartMinimized=1\n");
    host = TrayHost::XEmbed;
    Start();
    EXPECT_EQ(dialogs.errors.size(), 1) << dialogs.errors.join('|').toStdString();
    EXPECT_TRUE(program->StartMinimized());
    EXPECT_TRUE(Window().core.ReadingOn());
    EXPECT_TRUE(program->Tray().IsAdded());
}

// Without a notification area start minimised must still show the window, once the wait for a
// late one is over.
TEST_F(StartupTest, StartMinimizedWithoutNotificationAreaShowsTheWindow) {
    WriteSettings("[General]\nStartMinimized=1\n");
    Start();
    ASSERT_TRUE(program->StartMinimized());
    EXPECT_FALSE(program->Tray().IsAdded());
    QElapsedTimer waited;
    waited.start();
    program->ShowMainWindow();
    EXPECT_FALSE(Window().isVisible());
    while (!Window().isVisible() && waited.elapsed() < 3 * Program::TrayHostWaitMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_GE(waited.elapsed(), Program::TrayHostWaitMs - Program::TrayHostPollMs);
    EXPECT_TRUE(program->Tray().IsAdded());
}

// Nobody sees a box while the window is hidden: the icon tells, and so does standard error.
TEST_F(StartupTest, StartingHiddenWithLimitedInputNotifies) {
    WriteSettings("[General]\nStartMinimized=1\n");
    host = TrayHost::XEmbed;
    injection = {InjectionLevel::Limited, "XTest", "only X programs"};
    ::testing::internal::CaptureStderr();
    Start();
    program->ShowMainWindow();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("only X programs"), std::string::npos);
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(program->Tray().LastNotification(), "only X programs");
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

TEST_F(StartupTest, ClosingTheMainWindowEndsTheRunAlsoFromTheTray) {
    Start();
    bool ended = false;
    QObject::connect(program.get(), &Program::MainWindowClosed, [&] { ended = true; });
    program->ShowMainWindow();
    Window().hide(); // in the tray
    program->Tray().popItemExit().trigger();
    QApplication::processEvents();
    EXPECT_TRUE(ended);
}

TEST_F(StartupTest, TrayMenuStopsAndStartsReadingTheControllers) {
    AttachPad();
    WriteSettings("[Joystick0]\nName=Microsoft X-Box 360 pad\n"
                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\n");
    Start();
    const TJoystick& pad = program->Lists().ActiveJoysticks[0];
    ASSERT_TRUE(pad.Acquired);

    program->Tray().popItemStop().trigger();
    EXPECT_FALSE(Window().core.ReadingOn());
    EXPECT_FALSE(pad.Acquired);
    EXPECT_TRUE(program->Tray().popItemStart().isEnabled());
    EXPECT_EQ(Shown(), -1);

    program->Tray().popItemStart().trigger();
    EXPECT_TRUE(Window().core.ReadingOn());
    EXPECT_TRUE(pad.Acquired);
    EXPECT_FALSE(program->Tray().popItemStart().isEnabled());
    EXPECT_TRUE(program->Tray().popItemStop().isEnabled());
}

// Exit lets go of what the controllers hold while the engine can still send: under XTest the X
// server would keep it down after the program is gone.
TEST_F(StartupTest, ExitReleasesWhatTheControllersHold) {
    const int node = AttachPad();
    WriteSettings("[Joystick0]\nName=Microsoft X-Box 360 pad\n"
                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\n");
    std::vector<std::uint32_t> mouse;
    auto injector = std::make_unique<RecordingInjector>();
    injector->onCall = [&mouse](const InjectedCall& call) { mouse.push_back(call.flags); };
    Start(std::move(injector));
    TLists& lists = program->Lists();
    AssignFunction(lists.Profiles.push_back(NewProfile("Held")).Mappings[ButtonSlot(0)],
                   "MOUSE_LEFT_CLICK");
    lists.ActiveJoysticks[0].Profile = 1;
    kernel->Push(node, {{EV_KEY, BTN_SOUTH, 1}, {EV_SYN, SYN_REPORT, 0}});
    Window().tmrDataCollectTimer();
    ASSERT_EQ(mouse, std::vector<std::uint32_t>{MOUSEEVENTF_LEFTDOWN});
    program.reset();
    EXPECT_EQ(mouse, (std::vector<std::uint32_t>{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}));
}

// The injector lets go of held keys and buttons when it is destroyed; the window's engine must
// be gone by then, or it could press them again.
TEST_F(StartupTest, InjectorIsReleasedAfterTheWindow) {
    QPointer<QWidget> window;
    bool windowGoneFirst = false;
    Start(std::make_unique<LastInjector>(window, windowGoneFirst));
    window = &Window();
    program.reset();
    EXPECT_TRUE(windowGoneFirst);
}

// Work is never dropped without a question, and nothing else changes: unchanged, Exit is as it
// always was, and a signal to end (logout) neither asks nor saves.
TEST_F(StartupTest, ExitAsksAboutUnsavedWorkOnTheUsersRoutesOnly) {
    QuitSignals quit([&] { program->Quit(); }); // as the program has them
    enum { Exit, Tray, CloseBox, Signal };
    const std::function<void()> routes[] = {
        [&] { Window().cmdExit->click(); },
        [&] { program->Tray().popItemExit().trigger(); },
        [&] {
            QCloseEvent close; // as the window system sends it
            QSpontaneKeyEvent::setSpontaneous(&close);
            if (QApplication::instance()->notify(&Window(), &close) && close.isAccepted())
                Window().hide();
        },
        [] { std::raise(SIGTERM); },
    };
    auto setting = [](Program& p) { p.MainWindow().chkStartMinimized->toggle(); };
    auto mapping = [](Program& p) { p.Lists().Profiles[0].Mappings[50].Code = 65; };
    auto presses = [](Program& p) {
        p.Lists().Profiles[0].Mappings[50].PressState = psPressed;
        p.Lists().Profiles[0].Mappings[50].RepeatCountdown = 33;
    };
    auto twice = [&](Program& p) { setting(p), setting(p); };
    auto controller = [](Program& p) { p.Lists().ActiveJoysticks[0].Threshold = 3; };
    const auto None = QMessageBox::NoButton, Save = QMessageBox::Save;
    const struct {
        std::function<void(Program&)> change;
        int route;
        QMessageBox::StandardButton answer; // None: no question
        bool storeGone, ends, saved;
    } cases[] = {
        {[](Program&) {}, Exit, None, false, true, false},
        {presses, CloseBox, None, false, true, false},
        {twice, Tray, None, false, true, false},
        {setting, Exit, QMessageBox::Discard, false, true, false},
        {controller, Tray, QMessageBox::Cancel, false, false, false},
        {mapping, CloseBox, Save, false, true, true},
        {mapping, Exit, Save, true, false, false},
        {mapping, Signal, None, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        program.reset();
        WriteSettings("[Joystick0]\nName=Gone Pad\nGUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\n");
        const TProfile profile = NewProfile("P");
        const QByteArray stored(reinterpret_cast<const char*>(&profile), sizeof profile);
        QFile store(work.filePath("Padwright.pro"));
        ASSERT_TRUE(store.open(QIODevice::WriteOnly) && store.write(stored) == stored.size());
        store.close();
        Start();
        bool ended = false;
        QObject::connect(program.get(), &Program::MainWindowClosed, [&] { ended = true; });
        program->ShowMainWindow();
        c.change(*program);
        dialogs = RecordingDialogs();
        dialogs.answer = c.answer;
        if (c.storeGone) { // a folder where the store was: Save fails
            ASSERT_TRUE(store.remove() && QDir(work.path()).mkdir("Padwright.pro"));
        }
        routes[c.route]();
        for (int i = 0; i < 50 && !ended; ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(dialogs.questions,
                  c.answer == None ? QStringList() : QStringList{"Save changes before exiting?"});
        EXPECT_EQ(ended, c.ends);
        EXPECT_EQ(dialogs.errors.size(), c.storeGone ? 1 : 0);
        EXPECT_EQ(store.open(QIODevice::ReadOnly) && store.readAll() != stored, c.saved);
        store.close();
        QDir(work.path()).rmdir("Padwright.pro");
    }
}

} // namespace
} // namespace padwright
