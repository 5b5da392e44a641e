#pragma once
// The kernel side of the uinput injector: one virtual device, "Padwright virtual input".
#include "platform/inject/UinputInjector.h"

#include <memory>
#include <string>

struct libevdev;

namespace padwright {

constexpr const char* VirtualDeviceName = "Padwright virtual input";

struct LibevdevDeleter {
    void operator()(libevdev* dev) const;
};
using LibevdevPtr = std::unique_ptr<libevdev, LibevdevDeleter>;

// What the device announces: every key of the key tables, the five mouse buttons, relative
// X/Y and both wheel axes.
LibevdevPtr DescribeVirtualDevice();

// Creates the device; nullptr with `error` set when /dev/uinput cannot be opened for writing.
std::unique_ptr<IUinputWriter> OpenUinputDevice(std::string& error);

} // namespace padwright
