#include "KernelDevice.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace padwright::vm {
namespace {

std::runtime_error KernelError(const std::string& what, int negErrno) {
    return std::runtime_error(what + ": " + std::strerror(-negErrno));
}

template <std::size_t N>
void EnableCodes(libevdev* dev, unsigned type, const std::bitset<N>& codes,
                 const EvdevDescription& d) {
    for (unsigned code = 0; code < N; ++code) {
        if (!codes.test(code))
            continue;
        input_absinfo info{};
        if (type == EV_ABS) {
            // The starting value goes along: uinput hands the whole absinfo to the kernel, so
            // the node starts where the real device rested (pedals at their maximum).
            const AbsRange& r = d.absinfo[code];
            info = {r.value, r.minimum, r.maximum, r.fuzz, r.flat, r.resolution};
        }
        if (libevdev_enable_event_code(dev, type, code, type == EV_ABS ? &info : nullptr) != 0)
            throw std::runtime_error(d.name + ": libevdev refuses type " + std::to_string(type) +
                                     " code " + std::to_string(code));
    }
}

} // namespace

KernelDevice::KernelDevice(const EvdevDescription& d) {
    dev_ = libevdev_new();
    libevdev_set_name(dev_, d.name.c_str());
    libevdev_set_id_bustype(dev_, d.bus);
    libevdev_set_id_vendor(dev_, d.vendor);
    libevdev_set_id_product(dev_, d.product);
    libevdev_set_id_version(dev_, d.version);
    for (unsigned p = 0; p < INPUT_PROP_CNT; ++p)
        if (d.properties.test(p))
            libevdev_enable_property(dev_, p);
    EnableCodes(dev_, EV_KEY, d.keys, d);
    EnableCodes(dev_, EV_ABS, d.abs, d);
    EnableCodes(dev_, EV_REL, d.rel, d);
    // The kernel passes on only events of declared types; recordings carry MSC_SCAN.
    if (d.types.test(EV_MSC))
        libevdev_enable_event_code(dev_, EV_MSC, MSC_SCAN, nullptr);
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

void KernelDevice::Write(const std::vector<EvdevEvent>& events) {
    for (const EvdevEvent& e : events) {
        int rc = libevdev_uinput_write_event(uinput_, e.type, e.code, e.value);
        if (rc != 0)
            throw KernelError("writing to " + node_, rc);
    }
}

} // namespace padwright::vm
