#pragma once
// sway on the headless backend, with a runtime folder of its own, for the wlroots source's tests
// and benchmark. sway refuses to run as root: then it runs as the user "nobody".
#include "../app/support/XSession.h"

#include <memory>
#include <string>

namespace padwright::testing {

class SwaySession {
public:
    // Throws std::runtime_error when sway does not come up.
    SwaySession();
    const std::string& Socket() const { return socket_; } // absolute: a WAYLAND_DISPLAY value
    const std::string& Ipc() const { return ipc_; }       // sway's command socket
    // Runs one sway command (`swaymsg`); true when it succeeded.
    bool Command(const std::string& command);
    // Starts a Wayland client of this compositor.
    std::unique_ptr<Child> Launch(const std::string& program);
    void Stop() { sway_.reset(); }

private:
    Sandbox box_;
    std::map<std::string, std::string> env_;
    std::unique_ptr<Child> sway_;
    std::string socket_, ipc_;
};

} // namespace padwright::testing
