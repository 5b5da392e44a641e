// Following plugging on a real kernel: the found list and an active controller driven by the
// kernel's own word of plugging, first through inotify (no udevd, as in containers), then
// through udev's monitor with systemd-udevd running.
#include "KernelDevice.h"
#include "Subprocess.h"
#include "core/PlugFollower.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/LibevdevKernel.h"
#include "platform/eventloop/QtEventLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

namespace padwright::vm {
namespace {

using namespace std::chrono_literals;
constexpr auto Limit = 20s; // generous: the guest's CPU is emulated

EvdevDescription Description(const char* fixture) {
    return LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/" + fixture).description;
}

class Host : public IControllerHost {
public:
    void PauseReading() override {}
    void ResumeReading() override {}
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return false; }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        lines.push_back(std::string(prefix) + std::string(DirectInputErrorText(code)));
    }
    std::vector<std::string> lines;
};

QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "plugging_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until `done` holds; the milliseconds it took, or -1.
double RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = Limit) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limit.count())
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

void FollowOnRealKernel(const std::string& kind) {
    App();
    TLists lists;
    Host host;
    ControllerAccess access(lists, host, DirectInput8Create);
    auto monitor = OpenPlugMonitor();
    ASSERT_TRUE(monitor);
    ASSERT_EQ(std::string(monitor->Kind()), kind);
    int checks = 0;
    double longest = 0; // ms the event loop, and with it the reading, waited for one check
    QtEventLoop loop;
    PlugFollower follower(loop, std::move(monitor), [&](bool lastTry) {
        ++checks;
        QElapsedTimer took;
        took.start();
        const bool again = access.FollowPlugging(lastTry) == ControllerAccess::PlugResult::TryAgain;
        longest = std::max(longest, static_cast<double>(took.nsecsElapsed()) / 1e6);
        return again;
    });
    access.StartDirectInput();
    ASSERT_TRUE(lists.FoundJoysticks.empty());
    auto found = [&](int n) { return [&, n] { return lists.FoundJoysticks.count() == n; }; };

    auto pad = std::make_unique<KernelDevice>(Description("xbox360-pad-xpad-ayaneo-air.evemu"));
    const double listed = RunUntil(found(1));
    ASSERT_GE(listed, 0) << "the pad never appeared in the found list";
    std::printf("FIGURE (emulated, %s) plugged to listed: %.0f ms\n", kind.c_str(), listed);
    const GUID padGuid = lists.FoundJoysticks[0].Guid;

    // Picked and started; a second pad appears and the selection stays on the first.
    access.View.cmbFoundDevices.ItemIndex = 0;
    access.cmbFoundDevicesClick();
    access.cmdAddDeviceClick();
    access.popItemStartClick();
    ASSERT_TRUE(lists.ActiveJoysticks[0].Acquired);
    KernelDevice second(Description("usb-gamepad-0079-0011.evemu"));
    ASSERT_GE(RunUntil(found(2)), 0) << "the second pad never appeared";
    const int selected = access.View.cmbFoundDevices.ItemIndex;
    ASSERT_GE(selected, 0);
    EXPECT_TRUE(lists.FoundJoysticks[static_cast<std::size_t>(selected)].Guid == padGuid);

    // Out and back in with the same ids: reopened without anyone asking, and read.
    pad.reset();
    ASSERT_GE(RunUntil(found(1)), 0) << "the unplugged pad stays listed";
    pad = std::make_unique<KernelDevice>(Description("xbox360-pad-xpad-ayaneo-air.evemu"));
    ASSERT_GE(RunUntil(found(2)), 0);
    TJoystick& active = lists.ActiveJoysticks[0];
    ASSERT_TRUE(active.Acquired);
    pad->Write({{EV_KEY, BTN_SOUTH, 1}, {EV_SYN, SYN_REPORT, 0}});
    DIJOYSTATE2 state;
    ASSERT_EQ(active.Device->Poll(), DI_OK) << "still the old node";
    ASSERT_EQ(active.Device->GetDeviceState(sizeof state, &state), DI_OK);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    std::printf("FIGURE (emulated, %s) longest check after plugging: %.1f ms\n", kind.c_str(),
                longest);

    // Something that is no controller (a keyboard) changes nothing.
    const int before = checks;
    EvdevDescription keyboard;
    keyboard.name = "Guest keyboard";
    keyboard.bus = 3;
    keyboard.types.set(EV_KEY);
    for (unsigned k = KEY_ESC; k <= KEY_SLASH; ++k)
        keyboard.keys.set(k);
    const auto found0 = lists.FoundJoysticks[0].Guid;
    {
        KernelDevice board(keyboard);
        RunUntil([&] { return checks > before; });
    }
    EXPECT_EQ(lists.FoundJoysticks.count(), 2);
    EXPECT_TRUE(lists.FoundJoysticks[0].Guid == found0);
    EXPECT_EQ(host.lines, std::vector<std::string>{});
}

TEST(Plugging, InotifyWithoutUdevd) {
    ASSERT_NE(access("/run/udev/control", F_OK), 0) << "udevd must not run yet";
    FollowOnRealKernel("inotify");
}

TEST(Plugging, UdevMonitorWithUdevd) {
    std::filesystem::create_directories("/run"); // the bare guest has none
    Subprocess udevd({"/usr/bin/systemd-udevd"});
    for (int i = 0; i < 300 && access("/run/udev/control", F_OK) != 0 && udevd.Wait(0ms) < 0; ++i)
        std::this_thread::sleep_for(100ms);
    ASSERT_EQ(access("/run/udev/control", F_OK), 0) << "udevd did not start:\n" << udevd.Output();
    FollowOnRealKernel("udev");
}

} // namespace
} // namespace padwright::vm
