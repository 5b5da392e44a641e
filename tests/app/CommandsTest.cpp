// Commands for the running program over a private session bus: --status shows what each active
// controller uses, --profile switches it without making it an unsaved change, --show brings the
// window back; without a running program each says so and fails, except --show, which starts it.
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>

namespace padwright::testing {
namespace {

struct Result {
    std::optional<int> code;
    std::string out, err;
};

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string socket = box.Root() + "/bus";
        bus = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/dbus-daemon", "--session",
                                                               "--nofork",
                                                               "--address=unix:path=" + socket},
                                      env);
        env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + socket;
        ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(socket); }, Millis(5000)));
    }

    // padwright with `arguments` (a shell's words), run to its end.
    Result Command(const std::string& arguments) {
        const std::string out = box.Root() + "/out";
        Child command({"/bin/sh", "-c", PADWRIGHT_BINARY " " + arguments + " >" + out}, env,
                      box.Work());
        const std::optional<int> code = command.Wait(Millis(20000));
        return {code, ReadFile(out), command.Stderr()};
    }

    bool WindowShown() const {
        return WaitUntil([&] { return x.FindWindow("Padwright", true).has_value(); },
                         Millis(10000));
    }

    XServer x;
    Sandbox box;
    std::map<std::string, std::string> env = box.Environment(x);
    std::unique_ptr<Child> bus;
};

TEST_F(CommandsTest, WithoutARunningProgramEachSaysSoAndFails) {
    for (const char* command : {"--status", "--profile Game --controller 1", "--start", "--stop"})
        EXPECT_EQ(Command(command).err, "padwright: Padwright is not running.\n") << command;
    EXPECT_EQ(Command("--stop").code, 1);
    for (const char* wrong : {"--profile", "--controller 1", "--profile G --controller x",
                              "--status --stop", "--status -style fusion"})
        EXPECT_EQ(Command(wrong).code, 2) << wrong;
}

TEST_F(CommandsTest, ProfileSwitchesAControllerAndStatusShowsIt) {
    const std::string settings = "[Joystick0]\nName=Gone Pad\nID=0\nProfile=1\n"
                                 "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\n\n"
                                 "[Joystick1]\nName=Other Pad\nID=3\n"
                                 "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540001}\n";
    WriteFile(box.SettingsFile(), settings);
    std::string store;
    for (const std::string name : {"Desk", "Game", "Game"})
        store += static_cast<char>(name.size()) + name + std::string(15039 - name.size(), '\0');
    WriteFile(box.Work() + "/Padwright.pro", store);
    Child program({PADWRIGHT_BINARY}, env, box.Work());
    ASSERT_TRUE(WindowShown()) << program.Stderr();

    // Neither pad is attached, so neither is read; Xvfb has no desktop that says what is in front.
    const std::string gone = "Name: Gone Pad -- ID: 0\t", other = "Name: Other Pad -- ID: 3\t";
    EXPECT_EQ(Command("--status").out, gone + "Desk\toff\t\n" + other + "\toff\t\n");
    EXPECT_EQ(Command("--profile Game --controller 3").code, 0);
    EXPECT_EQ(Command("--status").out, gone + "Desk\toff\t\n" + other + "Game\toff\t\n");
    EXPECT_EQ(Command("--profile Game").code, 0);
    EXPECT_EQ(Command("--status").out, gone + "Game\toff\t\n" + other + "Game\toff\t\n");
    const Result unknown = Command("--profile Nothing");
    EXPECT_EQ(unknown.code, 1);
    EXPECT_EQ(unknown.err, "padwright: Padwright has no profile named \"Nothing\".\n");
    EXPECT_EQ(Command("--profile Desk --controller 7").err,
              "padwright: Padwright has no active controller with the ID 7.\n");
    EXPECT_EQ(Command("--stop").code, 0);
    EXPECT_EQ(Command("--start").code, 0);

    // No question about unsaved changes holds the close up, and nothing was written.
    x.Close(*x.FindWindow("Padwright", false));
    EXPECT_EQ(program.Wait(Millis(10000)), 0) << program.Stderr();
    EXPECT_EQ(ReadFile(box.SettingsFile()), settings);
}

TEST_F(CommandsTest, ShowBringsTheWindowBackOrStartsTheProgram) {
    Child tray({"/usr/bin/trayer", "--edge", "top", "--align", "right"}, env);
    ASSERT_TRUE(WaitUntil([&] { return x.HasTrayHost(); }, Millis(5000)));
    WriteFile(box.SettingsFile(), "[General]\nStartMinimized=1\n");
    Child program({PADWRIGHT_BINARY, "--show"}, env, box.Work()); // none runs: it starts, hidden
    ASSERT_TRUE(WaitUntil([&] { return x.HasEmbeddedWindowOf(program.Pid()); }, Millis(10000)));
    EXPECT_FALSE(x.FindWindow("Padwright", true).has_value());

    EXPECT_EQ(Command("--data-folder --show").code, 0);
    EXPECT_TRUE(WindowShown());
    const Result plain = Command(""); // a plain second start: silent, nothing changes
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.err, "");
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(Millis(10000)), 0);
}

} // namespace
} // namespace padwright::testing
