#include "SwaySession.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace padwright::testing {

namespace fs = std::filesystem;

SwaySession::SwaySession() {
    const std::string run = box_.Runtime();
    env_ = {{"XDG_RUNTIME_DIR", run},       {"WLR_BACKENDS", "headless"},
            {"WLR_RENDERER", "pixman"},     {"WLR_LIBINPUT_NO_DEVICES", "1"},
            {"WAYLAND_DISPLAY", ""},        {"DISPLAY", ""},
            {"HOME", box_.Root() + "/home"}};
    const std::string config = box_.Root() + "/sway.conf";
    std::ofstream(config) << "xwayland disable\n";
    std::vector<std::string> argv{"/usr/bin/sway", "-c", config};
    if (getuid() == 0) {
        chmod(box_.Root().c_str(), 0711);
        chown(run.c_str(), 65534, 65534);
        chmod(config.c_str(), 0644);
        argv.insert(argv.begin(),
                    {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
    }
    if (!fs::exists("/usr/bin/sway"))
        throw std::runtime_error("sway is missing (scripts/apt-packages-test.txt)");
    sway_ = std::make_unique<Child>(argv, env_, box_.Root(), true);
    const bool up = WaitUntil(
        [&] {
            for (const auto& entry : fs::directory_iterator(run)) {
                const std::string name = entry.path().filename();
                if (name.starts_with("sway-ipc."))
                    ipc_ = entry.path();
                else if (name.starts_with("wayland-") && !name.ends_with(".lock"))
                    socket_ = entry.path();
            }
            return !ipc_.empty() && !socket_.empty();
        },
        Millis(10000));
    if (!up)
        throw std::runtime_error("sway did not start: " + sway_->Stderr());
    env_["WAYLAND_DISPLAY"] = socket_;
}

bool SwaySession::Command(const std::string& command) {
    Child message({"/usr/bin/swaymsg", "-s", ipc_, command}, env_);
    return message.Wait(Millis(5000)) == 0;
}

std::unique_ptr<Child> SwaySession::Launch(const std::string& program) {
    return std::make_unique<Child>(std::vector<std::string>{program}, env_, box_.Root());
}

} // namespace padwright::testing
