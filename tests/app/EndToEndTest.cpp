// The real program under a private X server: single instance, start minimised with and without
// a notification area, the log file, remembered controllers, and a shut-down that saves nothing.
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace padwright::testing {
namespace {

namespace fs = std::filesystem;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { x = std::make_unique<XServer>(); }

    fs::path SettingsFile() const { return box.SettingsFile(); }
    fs::path LockFile() const { return fs::path(box.Runtime()) / "Padwright.lock"; }
    fs::path Work() const { return box.Work(); }
    std::map<std::string, std::string> Environment() const { return box.Environment(*x); }

    std::unique_ptr<Child> Start(std::map<std::string, std::string> overrides = {}) {
        auto env = Environment();
        for (auto& [key, value] : overrides)
            env[key] = value;
        return std::make_unique<Child>(std::vector<std::string>{PADWRIGHT_BINARY}, env,
                                       Work().string(), /*quiet=*/true);
    }

    bool WindowShown(Millis timeout = Millis(10000)) const {
        return WaitUntil([&] { return x->FindWindow("Padwright", true).has_value(); }, timeout);
    }

    // Closes the main window as its close box does and expects a clean end.
    void CloseAndExpectExit(Child& program) {
        const auto window = x->FindWindow("Padwright", false);
        ASSERT_TRUE(window.has_value());
        x->Close(*window);
        EXPECT_EQ(program.Wait(Millis(10000)), 0) << program.Stderr();
    }

    Sandbox box;
    fs::path root{box.Root()};
    std::unique_ptr<XServer> x;
};

TEST_F(ProgramTest, SecondInstanceEndsAtOnceAndLeavesTheFirstRunning) {
    auto first = Start();
    ASSERT_TRUE(WindowShown()) << first->Stderr();
    EXPECT_TRUE(std::filesystem::exists(LockFile()));

    // A second instance that waited for the first would never end while the first runs; how fast
    // it ends depends on the machine (a sanitizer build under load takes over a second).
    auto second = Start();
    EXPECT_EQ(second->Wait(Millis(10000)), 0) << second->Stderr();
    EXPECT_TRUE(second->Stderr().empty()) << second->Stderr(); // silently

    EXPECT_TRUE(first->Running());
    EXPECT_TRUE(x->FindWindow("Padwright", true).has_value());
    CloseAndExpectExit(*first);
    EXPECT_FALSE(std::filesystem::exists(LockFile()));
}

TEST_F(ProgramTest, LockLeftByACrashIsTakenOver) {
    {
        auto crashed = Start();
        ASSERT_TRUE(WindowShown());
        crashed->Signal(SIGKILL);
        crashed->Wait(Millis(5000));
    }
    ASSERT_TRUE(std::filesystem::exists(LockFile()));
    auto next = Start();
    ASSERT_TRUE(WindowShown()) << next->Stderr();
    CloseAndExpectExit(*next);
}

TEST_F(ProgramTest, TerminationSignalEndsLikeExit) {
    auto program = Start();
    ASSERT_TRUE(WindowShown());
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(Millis(10000)), 0);
    EXPECT_FALSE(std::filesystem::exists(LockFile()));
}

// A lock that cannot be taken is not another instance: exit 1, with the reason on standard
// error and in an error box.
TEST_F(ProgramTest, LockThatCannotBeTakenIsReported) {
    fs::create_directories(LockFile() / "in-the-way");
    auto program = Start();
    ASSERT_TRUE(WindowShown()) << program->Stderr(); // the error box, titled "Padwright"
    EXPECT_TRUE(program->Running());
    x->Close(*x->FindWindow("Padwright", true));
    EXPECT_EQ(program->Wait(Millis(5000)), 1);
    EXPECT_NE(program->Stderr().find(LockFile().string()), std::string::npos) << program->Stderr();
}

// Qt alone would abort with a core dump; the program says what is missing instead.
TEST_F(ProgramTest, WithoutADisplayItSaysSo) {
    auto program = Start({{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    EXPECT_EQ(program->Wait(Millis(5000)), 1);
    EXPECT_NE(program->Stderr().find("needs a graphical session"), std::string::npos)
        << program->Stderr();
    EXPECT_FALSE(fs::exists(LockFile()));
}

// A display that is named but not there: our message and exit code, not Qt's abort.
TEST_F(ProgramTest, UnusableDisplayIsReportedAndLeavesNoLock) {
    const std::string none = ":" + std::to_string(700 + getpid() % 200);
    const std::map<std::string, std::string> cases[] = {
        {{"DISPLAY", none}, {"QT_QPA_PLATFORM", ""}},
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", "padwright-none"}, {"QT_QPA_PLATFORM", "wayland"}},
    };
    for (const auto& env : cases) {
        auto program = Start(env);
        EXPECT_EQ(program->Wait(Millis(10000)), 1);
        const std::string err = program->Stderr();
        EXPECT_NE(err.find("Padwright cannot open a display"), std::string::npos) << err;
        EXPECT_NE(err.find(env.count("WAYLAND_DISPLAY") ? "padwright-none" : none),
                  std::string::npos)
            << err;
        EXPECT_EQ(err.find("Reinstalling"), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(LockFile()));
    }
}

// The store's "not compatible" box is open when the session manager asks the program to end.
TEST_F(ProgramTest, TerminationDuringAStartUpBoxEndsTheProgram) {
    WriteFile(Work() / "Padwright.pro", "not a store");
    auto program = Start();
    ASSERT_TRUE(
        WaitUntil([&] { return x->FindWindow("Warning", true).has_value(); }, Millis(10000)))
        << program->Stderr();
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(Millis(10000)), 0) << program->Stderr();
    EXPECT_FALSE(fs::exists(LockFile()));
    EXPECT_FALSE(x->FindWindow("Padwright", true).has_value());
}

TEST_F(ProgramTest, DataFolderOptionKeepsTheFilesThere) {
    WriteFile(SettingsFile(), "[General]\nLogFile=1\n");
    const fs::path data = root / "data";
    auto program = std::make_unique<Child>(
        std::vector<std::string>{PADWRIGHT_BINARY, "--data-folder"},
        [&] {
            auto env = Environment();
            env["XDG_DATA_HOME"] = data.string();
            return env;
        }(),
        Work().string(), true);
    ASSERT_TRUE(WindowShown()) << program->Stderr();
    EXPECT_TRUE(fs::exists(data / "Padwright" / "Padwright.log"));
    EXPECT_FALSE(fs::exists(Work() / "Padwright.log"));
    CloseAndExpectExit(*program);
}

TEST_F(ProgramTest, StartMinimizedWithoutNotificationAreaShowsTheWindow) {
    WriteFile(SettingsFile(), "[General]\nStartMinimized=1\n");
    ASSERT_FALSE(x->HasTrayHost());
    auto program = Start();
    EXPECT_TRUE(WindowShown()) << program->Stderr();
    CloseAndExpectExit(*program);
}

TEST_F(ProgramTest, StartMinimizedWithATrayShowsOnlyTheIcon) {
    Child tray({"/usr/bin/trayer", "--edge", "top", "--align", "right"}, Environment());
    ASSERT_TRUE(WaitUntil([&] { return x->HasTrayHost(); }, Millis(5000))) << tray.Stderr();

    WriteFile(SettingsFile(), "[General]\nStartMinimized=1\n");
    auto program = Start();
    ASSERT_TRUE(WaitUntil([&] { return x->HasEmbeddedWindowOf(program->Pid()); }, Millis(10000)))
        << "the icon never reached the tray: " << program->Stderr();
    EXPECT_FALSE(x->FindWindow("Padwright", true).has_value());
    EXPECT_TRUE(program->Running());
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(Millis(10000)), 0);
}

// At login the tray host may come up after the program; it is waited for.
TEST_F(ProgramTest, StartMinimizedWaitsForATrayHostThatComesLate) {
    WriteFile(SettingsFile(), "[General]\nStartMinimized=1\n");
    auto program = Start();
    std::this_thread::sleep_for(Millis(1000));
    EXPECT_FALSE(x->FindWindow("Padwright", true).has_value());
    Child tray({"/usr/bin/trayer", "--edge", "top", "--align", "right"}, Environment());
    ASSERT_TRUE(WaitUntil([&] { return x->HasEmbeddedWindowOf(program->Pid()); }, Millis(10000)))
        << "the icon never reached the tray: " << program->Stderr();
    EXPECT_FALSE(WindowShown(Millis(6000)));

    // Without the tray nothing could bring the window back: it is shown.
    tray.Signal(SIGKILL);
    tray.Wait(Millis(5000));
    EXPECT_TRUE(WindowShown()) << program->Stderr();
    CloseAndExpectExit(*program);
}

// Input reaches only X programs (XTest in a Wayland session): said on standard error also when
// the window starts hidden, where no box can be seen.
TEST_F(ProgramTest, StartingHiddenStillWarnsAboutInput) {
    Child tray({"/usr/bin/trayer", "--edge", "top", "--align", "right"}, Environment());
    ASSERT_TRUE(WaitUntil([&] { return x->HasTrayHost(); }, Millis(5000)));
    WriteFile(SettingsFile(), "[General]\nStartMinimized=1\n");
    auto program = Start({{"WAYLAND_DISPLAY", "padwright-none"}, {"XDG_SESSION_TYPE", "wayland"}});
    ASSERT_TRUE(WaitUntil([&] { return x->HasEmbeddedWindowOf(program->Pid()); }, Millis(10000)));
    EXPECT_FALSE(x->FindWindow("Padwright", true).has_value());
    EXPECT_NE(program->Stderr().find("reaches only X programs"), std::string::npos)
        << program->Stderr();
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(Millis(10000)), 0);
}

// A panel that speaks StatusNotifierItem (KDE Plasma, GNOME's AppIndicator extension) reports
// every activation of the icon as a single one: that one shows and hides the window.
TEST_F(ProgramTest, OnAStatusNotifierHostASingleActivationShowsAndHides) {
    const std::string bus = "unix:path=" + (root / "bus").string();
    Child daemon({"/usr/bin/dbus-daemon", "--session", "--nofork", "--address=" + bus},
                 Environment());
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(root / "bus"); }, Millis(5000)));
    auto env = Environment();
    env["DBUS_SESSION_BUS_ADDRESS"] = bus;
    Child watcher({FAKE_WATCHER}, env);
    ASSERT_TRUE(WaitUntil(
        [&] {
            Child ask({"/usr/bin/dbus-send", "--session", "--print-reply",
                       "--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                       "org.freedesktop.DBus.Peer.Ping"},
                      env);
            return ask.Wait(Millis(2000)) == 0;
        },
        Millis(5000)))
        << watcher.Stderr();

    auto program = std::make_unique<Child>(std::vector<std::string>{PADWRIGHT_BINARY}, env,
                                           Work().string(), true);
    ASSERT_TRUE(WindowShown()) << program->Stderr();
    std::string item;
    ASSERT_TRUE(WaitUntil(
        [&] {
            item = watcher.Stderr();
            return !item.empty() && item.back() == '\n';
        },
        Millis(10000)))
        << "the icon never registered: " << program->Stderr();
    item.pop_back();
    auto activate = [&] {
        Child call({"/usr/bin/dbus-send", "--session", "--print-reply", "--dest=" + item,
                    "/StatusNotifierItem", "org.kde.StatusNotifierItem.Activate", "int32:0",
                    "int32:0"},
                   env);
        return call.Wait(Millis(5000));
    };
    ASSERT_EQ(activate(), 0);
    EXPECT_TRUE(
        WaitUntil([&] { return !x->FindWindow("Padwright", true).has_value(); }, Millis(5000)));
    ASSERT_EQ(activate(), 0);
    EXPECT_TRUE(WindowShown(Millis(5000)));
    CloseAndExpectExit(*program);
}

TEST_F(ProgramTest, WithATrayStartMinimizedTwoStillShowsTheWindow) {
    Child tray({"/usr/bin/trayer", "--edge", "top", "--align", "right"}, Environment());
    ASSERT_TRUE(WaitUntil([&] { return x->HasTrayHost(); }, Millis(5000)));
    WriteFile(SettingsFile(), "[General]\nStartMinimized=2\n");
    auto program = Start();
    EXPECT_TRUE(WindowShown()) << program->Stderr();
    CloseAndExpectExit(*program);
}

TEST_F(ProgramTest, LogFileOnCreatesAnEmptyLogInTheWorkingFolder) {
    WriteFile(SettingsFile(), "[General]\nLogFile=1\n");
    WriteFile(Work() / "Padwright.log", "old line\r\n");
    auto program = Start();
    ASSERT_TRUE(WindowShown()) << program->Stderr();
    EXPECT_TRUE(fs::exists(Work() / "Padwright.log"));
    EXPECT_EQ(fs::file_size(Work() / "Padwright.log"), 0u);
    CloseAndExpectExit(*program);
    EXPECT_EQ(ReadFile(Work() / "Padwright.log"), "");
}

TEST_F(ProgramTest, RememberedControllerThatIsNotAttachedIsOnlyLogged) {
    WriteFile(SettingsFile(), "[General]\nLogFile=1\n\n"
                              "[Joystick0]\nName=Gone Pad\n"
                              "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\n");
    auto program = Start();
    ASSERT_TRUE(WindowShown()) << program->Stderr();
    CloseAndExpectExit(*program);
    const std::string log = ReadFile(Work() / "Padwright.log");
    EXPECT_EQ(log.rfind("Failed to create device: ", 0), 0u) << log;
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
}

TEST_F(ProgramTest, NothingIsWrittenAtExit) {
    const std::string settings = "[General]\nMaxJoysticks=3\nTimeInterval=40\nLogFile=0\n\n"
                                 "[Joystick0]\nName=Gone Pad\n"
                                 "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\nID=0\n";
    WriteFile(SettingsFile(), settings);
    const std::string store(15040, '\0');
    WriteFile(Work() / "Padwright.pro", store);
    const auto settingsTime = fs::last_write_time(SettingsFile());
    const auto storeTime = fs::last_write_time(Work() / "Padwright.pro");

    auto program = Start();
    ASSERT_TRUE(WindowShown()) << program->Stderr();
    CloseAndExpectExit(*program);

    EXPECT_EQ(ReadFile(SettingsFile()), settings);
    EXPECT_EQ(ReadFile(Work() / "Padwright.pro"), store);
    EXPECT_EQ(fs::last_write_time(SettingsFile()), settingsTime);
    EXPECT_EQ(fs::last_write_time(Work() / "Padwright.pro"), storeTime);
    std::vector<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(root / "config"))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, (std::vector<std::string>{"Vemoskar", "Padwright.conf"}));
    EXPECT_FALSE(fs::exists(Work() / "Padwright.log"));
    EXPECT_FALSE(fs::exists(Work() / "Padwright.pro.bak"));
}

} // namespace
} // namespace padwright::testing
