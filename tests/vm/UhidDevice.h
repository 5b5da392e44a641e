#pragma once
// A HID device made through /dev/uhid from a corpus description: the kernel's own HID drivers
// bind it as they would the physical controller. A thread answers what the driver asks while it
// probes (feature reports, and the Nintendo handshake); the description's input report goes
// when the test sends it, so that what a controller shows before it is what it shows at rest.
#include "HidDescription.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace padwright::vm {

class UhidDevice {
public:
    // Throws std::runtime_error when /dev/uhid refuses the device.
    explicit UhidDevice(HidDescription description);
    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    const HidDescription& Description() const { return d_; }
    // The evdev nodes the drivers made for this device so far (/dev/input/eventN).
    std::vector<std::string> Nodes() const;
    // Sends the description's input report (again).
    void SendInput();
    // What the device answered or ignored, for a failure message.
    std::string Transcript() const;

private:
    void Serve();
    void Answer(const std::vector<std::uint8_t>& output);
    void Send(const std::vector<std::uint8_t>& report);
    void Note(const std::string& line);

    HidDescription d_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string transcript_;
    std::uint8_t timer_ = 0;
};

} // namespace padwright::vm
