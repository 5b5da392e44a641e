#pragma once
// A real kernel input device made through uinput from a device description, and its evdev
// node. Only meaningful where /dev/uinput exists (the VM tier's guests).
#include "platform/dinput/EvdevDescription.h"

#include <string>
#include <vector>

struct libevdev;
struct libevdev_uinput;

namespace padwright::vm {

class KernelDevice {
public:
    // Throws std::runtime_error with the kernel's reason when the device cannot be made.
    explicit KernelDevice(const EvdevDescription& description);
    ~KernelDevice();
    KernelDevice(const KernelDevice&) = delete;
    KernelDevice& operator=(const KernelDevice&) = delete;

    // /dev/input/eventN, found through the sysfs name uinput reports, never by guessing N.
    const std::string& Node() const { return node_; }
    // Writes the events as given; SYN_REPORTs must be among them for readers to see a frame.
    void Write(const std::vector<EvdevEvent>& events);

private:
    libevdev* dev_ = nullptr;
    libevdev_uinput* uinput_ = nullptr;
    std::string node_;
};

} // namespace padwright::vm
