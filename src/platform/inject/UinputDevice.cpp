#include "platform/inject/UinputDevice.h"

#include "platform/Descriptor.h"
#include "platform/inject/KeyTables.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace padwright {

void LibevdevDeleter::operator()(libevdev* dev) const {
    libevdev_free(dev);
}

LibevdevPtr DescribeVirtualDevice() {
    LibevdevPtr dev(libevdev_new());
    libevdev_set_name(dev.get(), VirtualDeviceName);
    libevdev_set_id_bustype(dev.get(), BUS_VIRTUAL);
    libevdev_enable_event_type(dev.get(), EV_KEY);
    for (const auto& row : VirtualKeyTable())
        libevdev_enable_event_code(dev.get(), EV_KEY, row.target.linuxCode, nullptr);
    for (const auto& row : AppCommandTable())
        libevdev_enable_event_code(dev.get(), EV_KEY, row.target.linuxCode, nullptr);
    for (int b = 0; b < MouseButtonCount; ++b)
        libevdev_enable_event_code(dev.get(), EV_KEY, LinuxButtonCode(static_cast<MouseButton>(b)),
                                   nullptr);
    libevdev_enable_event_type(dev.get(), EV_REL);
    for (const unsigned code : {REL_X, REL_Y, REL_WHEEL, REL_WHEEL_HI_RES})
        libevdev_enable_event_code(dev.get(), EV_REL, code, nullptr);
    return dev;
}

namespace {

// Events written before the desktop has opened a new device's node, or after the device is
// gone, never reach it; udev and the compositor take some tens of milliseconds to open a node,
// and a reader cannot read what is queued on a node whose device has been removed.
constexpr std::chrono::milliseconds SettleTime{200};

class UinputWriter : public IUinputWriter {
public:
    // The settling wait falls on the first write, not here: the program creates its device at
    // start-up, long before a controller sends anything, and its window should not wait.
    explicit UinputWriter(libevdev_uinput* device)
        : device_(device), created_(std::chrono::steady_clock::now()) {}
    ~UinputWriter() override {
        // Lets the desktop read the last events (the releases of held keys) before they go.
        const auto since = std::chrono::steady_clock::now() - lastWrite_;
        if (since < SettleTime)
            std::this_thread::sleep_for(SettleTime - since);
        libevdev_uinput_destroy(device_);
    }

    void Write(std::span<const input_event> events) override {
        // One write() per call keeps the batch whole; libevdev's own helper writes each event
        // on its own. A failed write loses the input, as a failed keybd_event would.
        if (!written_) {
            const auto age = std::chrono::steady_clock::now() - created_;
            if (age < SettleTime)
                std::this_thread::sleep_for(SettleTime - age);
            written_ = true;
        }
        lastWrite_ = std::chrono::steady_clock::now();
        WriteAll(libevdev_uinput_get_fd(device_), events.data(), events.size_bytes());
    }

private:
    libevdev_uinput* device_;
    std::chrono::steady_clock::time_point created_;
    std::chrono::steady_clock::time_point lastWrite_{};
    bool written_ = false;
};

} // namespace

std::unique_ptr<IUinputWriter> OpenUinputDevice(std::string& error) {
    const LibevdevPtr description = DescribeVirtualDevice();
    libevdev_uinput* device = nullptr;
    const int rc = libevdev_uinput_create_from_device(description.get(),
                                                      LIBEVDEV_UINPUT_OPEN_MANAGED, &device);
    if (rc < 0) {
        error = std::string("/dev/uinput: ") + std::strerror(-rc);
        return nullptr;
    }
    return std::make_unique<UinputWriter>(device);
}

} // namespace padwright
