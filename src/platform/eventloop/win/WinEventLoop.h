#pragma once
// The event loop seam on a Windows message loop. One MsgWaitForMultipleObjectsEx sleeps until a
// watched handle is signalled, a message arrives for the thread's windows, or the next timer is
// due; nothing wakes the program while none of these happens. Watched "descriptors" are
// WaitHandles (platform/dinput/WaitHandle.h): the controllers' events, the plug monitor's.
//
// While a modal loop that is not this one runs (a message box, a menu), the timers go on
// through a window timer that only fires when this loop has not turned in time; handles are
// looked at then too, so a sleeping reader waits for the modal loop's end or the next timer.
#include "platform/eventloop/EventLoop.h"

#include <memory>

struct tagMSG;

namespace padwright {

class WinEventLoop final : public IEventLoop {
public:
    WinEventLoop();
    ~WinEventLoop() override;
    WinEventLoop(const WinEventLoop&) = delete;
    WinEventLoop& operator=(const WinEventLoop&) = delete;

    std::unique_ptr<ITimer> CreateTimer(int milliseconds, TimerMode mode,
                                        std::function<void()> fire) override;
    // `descriptor` is a WaitHandle; `ready` runs while it is signalled.
    std::unique_ptr<IDescriptorWatch> Watch(int descriptor, std::function<void()> ready) override;

    // Sees every message this loop takes before it is dispatched, and keeps those it answers
    // true for (a window's keyboard navigation, IsDialogMessage). Empty: none.
    void SetMessageFilter(std::function<bool(tagMSG&)> filter);

    // Turns until WM_QUIT (PostQuitMessage) and returns its exit code.
    int Run();
    // One turn: waits at most `limitMs` for a handle, a message or a timer, and handles what
    // came. False once WM_QUIT was taken.
    bool RunOnce(unsigned limitMs);

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace padwright
