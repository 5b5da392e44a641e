#include "platform/dinput/PlugMonitor.h"

#include <libudev.h>

#include <unistd.h>

namespace padwright {

namespace {

class UdevPlugMonitor final : public IPlugMonitor {
public:
    UdevPlugMonitor(udev* context, udev_monitor* monitor, std::string inputDir)
        : udev_(context), monitor_(monitor), prefix_(std::move(inputDir) + "/event") {}
    ~UdevPlugMonitor() override {
        udev_monitor_unref(monitor_);
        udev_unref(udev_);
    }
    UdevPlugMonitor(const UdevPlugMonitor&) = delete;
    UdevPlugMonitor& operator=(const UdevPlugMonitor&) = delete;

    int Fd() const override { return udev_monitor_get_fd(monitor_); }
    const char* Kind() const override { return "udev"; }

    bool Drain() override {
        bool any = false;
        // The monitor's socket is non-blocking: null once nothing is pending.
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            const char* node = udev_device_get_devnode(device);
            if (node != nullptr && std::string_view(node).starts_with(prefix_))
                any = true;
            udev_device_unref(device);
        }
        return any;
    }

private:
    udev* udev_;
    udev_monitor* monitor_;
    std::string prefix_;
};

} // namespace

std::unique_ptr<IPlugMonitor> OpenUdevPlugMonitor(const std::string& inputDir) {
    udev* context = udev_new();
    if (context == nullptr)
        return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "input", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevPlugMonitor>(context, monitor, inputDir);
}

std::unique_ptr<IPlugMonitor> OpenPlugMonitor() {
    // udevd's control socket exists exactly while it runs; without udevd its monitor would
    // stay silent.
    if (access("/run/udev/control", F_OK) == 0)
        if (auto monitor = OpenUdevPlugMonitor())
            return monitor;
    return OpenInotifyPlugMonitor();
}

} // namespace padwright
