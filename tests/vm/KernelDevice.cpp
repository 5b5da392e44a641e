#include "KernelDevice.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace padwright::vm {
namespace {

std::runtime_error KernelError(const std::string& what, int negErrno) {
    return std::runtime_error(what + ": " + std::strerror(-negErrno));
}

} // namespace

KernelDevice::KernelDevice(const EvemuFile& d) {
    dev_ = libevdev_new();
    libevdev_set_name(dev_, d.name.c_str());
    libevdev_set_id_bustype(dev_, d.bus);
    libevdev_set_id_vendor(dev_, d.vendor);
    libevdev_set_id_product(dev_, d.product);
    libevdev_set_id_version(dev_, d.version);
    for (unsigned p = 0; p < INPUT_PROP_CNT; ++p)
        if (d.properties.test(p))
            libevdev_enable_property(dev_, p);
    for (unsigned type = 1; type < EV_CNT; ++type) {
        if (type == EV_REP)
            continue; // the kernel's own autorepeat, set below when keys are present
        for (unsigned code = 0; code < KEY_CNT; ++code) {
            if (!d.codes[type].test(code))
                continue;
            const void* data = type == EV_ABS ? &d.absinfo[code] : nullptr;
            if (libevdev_enable_event_code(dev_, type, code, data) != 0)
                throw std::runtime_error(d.name + ": libevdev refuses type " +
                                         std::to_string(type) + " code " + std::to_string(code));
        }
    }
    if (d.codes[EV_REP].any()) {
        int delay = 250, period = 33;
        libevdev_enable_event_code(dev_, EV_REP, REP_DELAY, &delay);
        libevdev_enable_event_code(dev_, EV_REP, REP_PERIOD, &period);
    }
    int rc = libevdev_uinput_create_from_device(dev_, LIBEVDEV_UINPUT_OPEN_MANAGED, &uinput_);
    if (rc != 0) {
        libevdev_free(dev_);
        throw KernelError("creating \"" + d.name + "\" through /dev/uinput", rc);
    }
    const char* node = libevdev_uinput_get_devnode(uinput_);
    if (!node) {
        libevdev_uinput_destroy(uinput_);
        libevdev_free(dev_);
        throw std::runtime_error("\"" + d.name + "\" has no event node");
    }
    node_ = node;
    // devtmpfs makes the node shortly after the device registers.
    for (int i = 0; i < 500 && access(node_.c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

KernelDevice::~KernelDevice() {
    libevdev_uinput_destroy(uinput_);
    libevdev_free(dev_);
}

void KernelDevice::Write(const std::vector<EvemuEvent>& events) {
    for (const EvemuEvent& e : events) {
        int rc = libevdev_uinput_write_event(uinput_, e.type, e.code, e.value);
        if (rc != 0)
            throw KernelError("writing to " + node_, rc);
    }
}

} // namespace padwright::vm
