// The event loop on MsgWaitForMultipleObjects and the WM_DEVICECHANGE plug monitor, driven by
// real Windows events, messages and modal loops.
#include "platform/dinput/PlugMonitor.h"
#include "platform/dinput/WakeSignal.h"
#include "platform/eventloop/win/WinEventLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

// After the seams, whose constant names the Windows headers define as macros.
#include <windows.h>

#include <dbt.h>

namespace padwright {
namespace {

TEST(WinEventLoop, TimersHandlesAndMessagesOnOneWait) {
    WinEventLoop loop;
    std::vector<std::string> seen;
    int ticks = 0;
    auto repeating = loop.CreateTimer(5, TimerMode::Precise, [&] { ++ticks; });
    auto once = loop.CreateTimer(20, TimerMode::SingleShot, [&] { seen.push_back("once"); });
    repeating->Start();
    once->Start();

    // A level signal is served until it is lowered; an auto-reset event once per setting, from
    // another thread; a watch may end itself from its own callback.
    WakeSignal level;
    level.Raise();
    std::unique_ptr<IDescriptorWatch> levelWatch = loop.Watch(level.Handle(), [&] {
        seen.push_back("level");
        level.Lower();
    });
    const HANDLE pulse = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::unique_ptr<IDescriptorWatch> pulseWatch =
        loop.Watch(static_cast<int>(HandleToLong(pulse)), [&] {
            seen.push_back("pulse");
            pulseWatch.reset();
        });
    std::thread setter([pulse] {
        Sleep(30);
        SetEvent(pulse);
    });
    // A modal loop that is not ours (a message box's) runs the timers through the window timer.
    auto modal = loop.CreateTimer(40, TimerMode::SingleShot, [&] {
        const int before = ticks;
        MSG message;
        while (ticks < before + 2 && GetMessageW(&message, nullptr, 0, 0))
            DispatchMessageW(&message);
        seen.push_back("modal");
    });
    modal->Start();
    auto quit = loop.CreateTimer(300, TimerMode::SingleShot, [] { PostQuitMessage(7); });
    quit->Start();

    EXPECT_EQ(loop.Run(), 7);
    setter.join();
    CloseHandle(pulse);
    EXPECT_EQ(seen, (std::vector<std::string>{"level", "once", "pulse", "modal"}));
    EXPECT_GE(ticks, 8); // 300 ms of a 5 ms timer, however loaded the machine
}

TEST(PlugMonitor, HidArrivalsAndRemovalsRaiseTheMonitorsHandle) {
    const std::unique_ptr<IPlugMonitor> monitor = OpenPlugMonitor();
    ASSERT_NE(monitor, nullptr);
    const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, L"PadwrightPlugMonitor", nullptr);
    ASSERT_NE(window, nullptr);

    WinEventLoop loop;
    int drained = 0;
    const auto watch = loop.Watch(monitor->Fd(), [&] { drained += monitor->Drain(); });
    DEV_BROADCAST_DEVICEINTERFACE_W hid{};
    hid.dbcc_size = sizeof hid;
    hid.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    DEV_BROADCAST_HDR volume{sizeof volume, DBT_DEVTYP_VOLUME, 0};
    const struct {
        WPARAM event;
        const void* what;
        int drained; // after it
    } cases[] = {
        {DBT_DEVICEARRIVAL, &hid, 1},     {DBT_DEVICEREMOVECOMPLETE, &hid, 2},
        {DBT_DEVICEARRIVAL, &volume, 2},  {DBT_DEVNODES_CHANGED, nullptr, 2},
        {DBT_DEVICEQUERYREMOVE, &hid, 2},
    };
    for (const auto& c : cases) {
        SendMessageW(window, WM_DEVICECHANGE, c.event, reinterpret_cast<LPARAM>(c.what));
        loop.RunOnce(0);
        EXPECT_EQ(drained, c.drained) << c.event;
        EXPECT_FALSE(IsSignalled(monitor->Fd()));
    }
}

} // namespace
} // namespace padwright
