#pragma once
// sway on the headless backend with a runtime folder of its own, for the wlroots source's tests
// and benchmark. sway refuses to run as root: then it runs as the user "nobody".
#include "../app/support/XSession.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright::testing {

class SwaySession {
public:
    SwaySession() { Start(); }
    // Throws std::runtime_error when sway does not come up. Again after Stop(): sway restarted.
    void Start() {
        const std::string run = box_.Runtime(), config = box_.Root() + "/sway.conf";
        std::ofstream(config) << "xwayland disable\n";
        std::vector<std::string> argv{"/usr/bin/sway", "-c", config};
        if (getuid() == 0 && chown(run.c_str(), 65534, 65534) == 0) {
            chmod(box_.Root().c_str(), 0711);
            argv.insert(argv.begin(),
                        {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        }
        env_ = {{"XDG_RUNTIME_DIR", run},   {"WLR_BACKENDS", "headless"},
                {"WLR_RENDERER", "pixman"}, {"WLR_LIBINPUT_NO_DEVICES", "1"},
                {"WAYLAND_DISPLAY", ""},    {"HOME", box_.Root()}};
        ipc_ = env_["SWAYSOCK"] = run + "/sway-ipc.sock";
        // A sway that was stopped leaves its sockets behind: only the new ones say it is up.
        socket_.clear();
        std::filesystem::remove(ipc_);
        sway_ = std::make_unique<Child>(argv, env_, box_.Root(), true);
        const bool up = WaitUntil(
            [&] {
                for (const auto& entry : std::filesystem::directory_iterator(run))
                    if (entry.path().filename().string().starts_with("wayland-") &&
                        entry.path().extension() != ".lock")
                        socket_ = entry.path();
                return !socket_.empty() && std::filesystem::exists(ipc_);
            },
            Millis(10000));
        if (!up)
            throw std::runtime_error("sway did not start (is it installed?): " + sway_->Stderr());
        env_["WAYLAND_DISPLAY"] = socket_;
    }
    const std::string& Socket() const { return socket_; } // absolute: a WAYLAND_DISPLAY value
    const std::string& Ipc() const { return ipc_; }       // sway's command socket
    bool Command(const std::string& command) {
        return Child({"/usr/bin/swaymsg", "-s", ipc_, command}, env_).Wait(Millis(5000)) == 0;
    }
    std::unique_ptr<Child> Launch(const std::string& program) {
        return std::make_unique<Child>(std::vector<std::string>{program}, env_, box_.Root());
    }
    void Stop() { sway_.reset(); }

private:
    Sandbox box_;
    std::map<std::string, std::string> env_;
    std::unique_ptr<Child> sway_;
    std::string socket_, ipc_;
};

} // namespace padwright::testing
