// The Windows tools under Wine in the guest, with Wine from the host's /usr: DirectInput reads a
// uinput pad through Wine's own joystick stack, and a button becomes a key through the engine and
// the real keybd_event.
#include "KernelDevice.h"
#include "Subprocess.h"
#include "platform/dinput/EvemuParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <linux/input.h>
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

// The pad as a desktop has it (udevd marks it a joystick), listed and read by padwright-probe.exe
// through Wine's DirectInput, which sees it through its own HID bus over the evdev node.
TEST(Wine, ProbeListsAndReadsAUinputPadThroughDirectInput) {
    std::filesystem::create_directories("/run"); // the bare guest has none
    Subprocess udevd({"/usr/lib/systemd/systemd-udevd"});
    Clock::time_point start = Clock::now();
    while (access("/run/udev/control", F_OK) != 0 && udevd.Wait(std::chrono::milliseconds(0)) < 0 &&
           Clock::now() - start < std::chrono::seconds(30))
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(access("/run/udev/control", F_OK), 0) << "udevd did not start:\n" << udevd.Output();
    KernelDevice pad(
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/usb-gamepad-0079-0011.evemu")
            .description);
    Subprocess settle({"/usr/bin/udevadm", "settle", "--timeout=60"});
    ASSERT_EQ(settle.Wait(std::chrono::seconds(70)), 0) << settle.Output();

    start = Clock::now();
    Subprocess probe({Wine, PADWRIGHT_PROBE_EXE, "--watch"});
    ASSERT_TRUE(probe.WaitForOutput([](const std::string& out) { return Has(out, "[0] state"); },
                                    std::chrono::seconds(120)))
        << probe.Output();
    Figure("Wine's start to the pad read through DirectInput", start);
    EXPECT_TRUE(Has(probe.Output(), "Name: USB Gamepad")) << probe.Output();
    EXPECT_TRUE(Has(probe.Output(), "objects X=1 Y=1 Z=0")) << probe.Output();
    EXPECT_FALSE(PushedRight(probe.Output())) << probe.Output();

    pad.Write({{EV_KEY, BTN_TRIGGER, 1}, {EV_ABS, ABS_X, 255}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_TRUE(probe.WaitForOutput(PushedRight, std::chrono::seconds(30))) << probe.Output();
}

} // namespace
} // namespace padwright::vm
