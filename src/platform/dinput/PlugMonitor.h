#pragma once
// Word from the kernel that event nodes came, went or changed their access, as one file
// descriptor for the event loop. Where udevd runs its monitor is used, since udev announces a
// node only once it has set the node's permissions; elsewhere (containers, bare systems)
// inotify on the input directory stands in. On Windows, WM_DEVICECHANGE for HID devices raises
// an event, whose WaitHandle stands for the descriptor.
#include <memory>
#include <string>

namespace padwright {

class IPlugMonitor {
public:
    virtual ~IPlugMonitor() = default;
    // Becomes readable when something may have happened; never blocks.
    virtual int Fd() const = 0;
    // Consumes what is pending: true when an event node was among it.
    virtual bool Drain() = 0;
    // "udev", "inotify" or "fixture".
    virtual const char* Kind() const = 0;
};

// udev's monitor for the input subsystem; null when it cannot be set up.
std::unique_ptr<IPlugMonitor> OpenUdevPlugMonitor(const std::string& inputDir = "/dev/input");
// inotify on `inputDir`, or on its parent until it exists; null when inotify is unavailable.
std::unique_ptr<IPlugMonitor> OpenInotifyPlugMonitor(const std::string& inputDir = "/dev/input");
// udev's when udevd runs on this system, else inotify's; null when neither can be had. On
// Windows the WM_DEVICECHANGE monitor, whose window needs the calling thread's message loop.
std::unique_ptr<IPlugMonitor> OpenPlugMonitor();

} // namespace padwright
