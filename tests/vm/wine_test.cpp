// The Windows programs under Wine in the guest, with Wine from the host's /usr: DirectInput reads a
// uinput pad through Wine's own joystick stack, and a button becomes a key through the engine and
// the real keybd_event, in the replay tool and in padwright.exe itself.
#include "KernelDevice.h"
#include "Subprocess.h"
#include "platform/dinput/EvemuParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <linux/input.h>
#include <optional>
#include <regex>
#include <thread>
#include <unistd.h>

namespace padwright::vm {
namespace {

constexpr const char* Wine = "/usr/lib/wine/wine64";
using Clock = std::chrono::steady_clock;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void Figure(const char* what, Clock::time_point since) {
    std::printf("FIGURE (emulated) %s: %.1f s\n", what,
                std::chrono::duration<double>(Clock::now() - since).count());
}

// A scripted press of button 1, mapped to A, through the engine and the real keybd_event: the
// desktop's low-level keyboard hook sees the key go down and up, marked as injected.
TEST(Wine, AButtonBecomesAKeyThroughKeybdEvent) {
    Clock::time_point start = Clock::now();
    Subprocess watch({Wine, PADWRIGHT_KEYWATCH_EXE, "2", "300"});
    ASSERT_TRUE(watch.WaitForOutput([](const std::string& out) { return Has(out, "watching"); },
                                    std::chrono::seconds(120)))
        << watch.Output();
    Figure("Wine's start in the prefix made on the host", start);
    const std::string script = "/tmp/button-to-key.txt";
    std::ofstream(script) << "profile Keys\nmap 1 48 VK_A\ncontroller profile=1 buttons=4\n"
                             "set 1 buttons=1\ncycle\nset 1 buttons=\ncycle\n";
    start = Clock::now();
    Subprocess replay({Wine, PADWRIGHT_REPLAY_EXE, "--inject", script});
    EXPECT_EQ(replay.Wait(std::chrono::seconds(120)), 0) << replay.Output();
    EXPECT_EQ(watch.Wait(std::chrono::seconds(30)), 0) << watch.Output();
    Figure("padwright-replay.exe's start to its keys seen", start);
    const std::string& keys = watch.Output();
    const auto down = keys.find("key down vk=0x41 scan=0x1e injected");
    EXPECT_NE(down, std::string::npos) << keys;
    EXPECT_NE(keys.find("key up vk=0x41 scan=0x1e injected", down), std::string::npos) << keys;
}

// A state line of the probe's watch whose X axis is at its maximum and whose only button held
// is button 1 (Windows programs end their lines with CR LF).
bool PushedRight(const std::string& out) {
    return std::regex_search(out, std::regex("state x=10 [^\n]* buttons=1\r?\n"));
}

// A pad as a desktop has it: udevd runs and marks it a joystick.
class WineDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories("/run"); // the bare guest has none
        const Clock::time_point start = Clock::now();
        while (access("/run/udev/control", F_OK) != 0 &&
               udevd.Wait(std::chrono::milliseconds(0)) < 0 &&
               Clock::now() - start < std::chrono::seconds(30))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_EQ(access("/run/udev/control", F_OK), 0) << "udevd:\n" << udevd.Output();
        pad.emplace(
            LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/usb-gamepad-0079-0011.evemu")
                .description);
        Subprocess settle({"/usr/bin/udevadm", "settle", "--timeout=60"});
        ASSERT_EQ(settle.Wait(std::chrono::seconds(70)), 0) << settle.Output();
    }
    void Press(bool down) {
        pad->Write({{EV_KEY, BTN_TRIGGER, down ? 1 : 0}, {EV_SYN, SYN_REPORT, 0}});
    }

    Subprocess udevd{{"/usr/lib/systemd/systemd-udevd"}};
    std::optional<KernelDevice> pad; // made once udevd is there to mark it
};

// Listed and read by padwright-probe.exe through Wine's DirectInput, which sees the pad through
// its own HID bus over the evdev node.
TEST_F(WineDesktop, ProbeListsAndReadsAUinputPadThroughDirectInput) {
    const Clock::time_point start = Clock::now();
    Subprocess probe({Wine, PADWRIGHT_PROBE_EXE, "--watch"});
    ASSERT_TRUE(probe.WaitForOutput([](const std::string& out) { return Has(out, "[0] state"); },
                                    std::chrono::seconds(120)))
        << probe.Output();
    Figure("Wine's start to the pad read through DirectInput", start);
    EXPECT_TRUE(Has(probe.Output(), "Name: USB Gamepad")) << probe.Output();
    EXPECT_TRUE(Has(probe.Output(), "objects X=1 Y=1 Z=0")) << probe.Output();
    EXPECT_FALSE(PushedRight(probe.Output())) << probe.Output();

    pad->Write({{EV_KEY, BTN_TRIGGER, 1}, {EV_ABS, ABS_X, 255}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_TRUE(probe.WaitForOutput(PushedRight, std::chrono::seconds(30))) << probe.Output();
}

// padwright.exe itself, with the pad remembered as DirectInput names it and a profile that gives
// its first button the key A: the program's reader, its engine and keybd_event turn a press of
// the pad into A going down and up for the desktop's keyboard hook.
TEST_F(WineDesktop, PadwrightExeTurnsAPressOfThePadIntoItsKey) {
    // The hook first: it keeps Wine's server and services up for the programs after it.
    Subprocess watch({Wine, PADWRIGHT_KEYWATCH_EXE, "2", "400"});
    ASSERT_TRUE(watch.WaitForOutput([](const std::string& out) { return Has(out, "watching"); },
                                    std::chrono::seconds(120)))
        << watch.Output();
    Subprocess probe({Wine, PADWRIGHT_PROBE_EXE});
    probe.Wait(std::chrono::seconds(60));
    std::smatch found;
    const std::string listed = probe.Output();
    ASSERT_TRUE(std::regex_search(listed, found,
                                  std::regex("Name: (.*) -- ID: ([0-9]+)\r?\nGUID (\\{[^}]+\\})")))
        << listed;
    std::filesystem::create_directories("/root/work");
    std::ofstream("/root/keys.txt") << "profile Keys\nmap 1 48 VK_A\n";
    Subprocess store(
        {PADWRIGHT_LINUX_REPLAY, "--save-store", "/root/work/Padwright.pro", "/root/keys.txt"});
    ASSERT_EQ(store.Wait(std::chrono::seconds(30)), 0) << store.Output();
    std::ofstream("/root/settings.reg")
        << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vemoskar\\Padwright]\n"
        << "\"StartMinimized\"=dword:00000001\n\n"
        << "[HKEY_CURRENT_USER\\Software\\Vemoskar\\Padwright\\Joystick0]\n"
        << "\"Name\"=\"" << found[1] << "\"\n\"GUID\"=\"" << found[3] << "\"\n"
        << "\"ID\"=dword:" << std::hex << std::stoul(found[2]) << std::dec << "\n"
        << "\"MaxVal\"=dword:0000000a\n\"Profile\"=dword:00000001\n";
    Subprocess reg({Wine, "reg", "import", "Z:\\root\\settings.reg"});
    ASSERT_EQ(reg.Wait(std::chrono::seconds(60)), 0) << reg.Output();

    const Clock::time_point start = Clock::now();
    Subprocess program({Wine, PADWRIGHT_PROGRAM_EXE}, "/root/work");
    // Pressed again until the program, once it reads the pad, sends the key.
    bool down = false;
    while (!down && Clock::now() - start < std::chrono::seconds(150) &&
           program.Wait(std::chrono::milliseconds(0)) < 0) {
        Press(true);
        down =
            watch.WaitForOutput([](const std::string& out) { return Has(out, "key down vk=0x41"); },
                                std::chrono::seconds(2));
        if (!down)
            Press(false);
    }
    ASSERT_TRUE(down) << watch.Output() << program.Output();
    Figure("padwright.exe's start to the pad's key", start);
    Press(false);
    EXPECT_EQ(watch.Wait(std::chrono::seconds(30)), 0) << watch.Output();
    EXPECT_TRUE(Has(watch.Output(), "key up vk=0x41 scan=0x1e injected")) << watch.Output();
}

} // namespace
} // namespace padwright::vm
