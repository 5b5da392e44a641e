#pragma once
// The program in front on an X11 desktop: the window manager names the active window in the
// root window's _NET_ACTIVE_WINDOW, and the server tells us of every change to it
// (PropertyNotify) on a connection of our own that the event loop waits on. The program is the
// window's WM_CLASS (instance and class) and, through _NET_WM_PID when the window's client runs
// on this machine, its executable.
#include "platform/focus/ForegroundSourceBase.h"
#include "platform/focus/ProgramIdentity.h"

#include <cstdint>
#include <memory>

struct xcb_connection_t;

namespace padwright {

class X11ForegroundSource final : public ForegroundSourceBase {
public:
    // `displayName` nullptr means $DISPLAY. Not Available() when the display cannot be opened.
    X11ForegroundSource(IEventLoop& loop, const char* displayName);
    ~X11ForegroundSource() override;
    X11ForegroundSource(const X11ForegroundSource&) = delete;
    X11ForegroundSource& operator=(const X11ForegroundSource&) = delete;

    std::string Kind() const override { return "X11"; }
    // The programs of the windows in the window manager's _NET_CLIENT_LIST.
    std::vector<ForegroundProgram> OpenWindows() const override;

private:
    void TakeEvents();
    // Whether the window manager names the active window (_NET_SUPPORTED).
    void ReadSupport();
    void ReadActiveWindow();
    WindowFacts FactsOf(std::uint32_t window) const;
    void Lost();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint32_t activeAtom_ = 0, clientListAtom_ = 0, pidAtom_ = 0, supportedAtom_ = 0;
    std::string hostName_;
    std::unique_ptr<IDescriptorWatch> watch_;
    std::unique_ptr<ITimer> queued_;
};

} // namespace padwright
