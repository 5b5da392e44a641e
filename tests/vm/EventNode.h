#pragma once
// Reading an evdev node from a guest test: finding it by device name, draining it, waiting for
// an event with its kernel time stamp on the monotonic clock.
#include <linux/input.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace padwright::vm {

struct Ev {
    std::uint16_t type, code;
    std::int32_t value;
    bool operator==(const Ev&) const = default;
};
void PrintTo(const Ev& e, std::ostream* os);

// The event node whose device carries `name`, found through sysfs rather than by number,
// waiting up to `limit` for it to appear; empty when it does not.
std::string NodeNamed(const std::string& name, std::chrono::milliseconds limit);

class EventNode {
public:
    explicit EventNode(const std::string& path);
    ~EventNode();
    EventNode(const EventNode&) = delete;
    EventNode& operator=(const EventNode&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Everything delivered so far but the SYN events; `endsInReport` tells whether the last
    // event read closed a report. Writes through uinput reach readers within the write call,
    // so nothing is still on its way when a writer in this process has returned.
    std::vector<Ev> Drain(bool& endsInReport);
    std::vector<Ev> Drain() {
        bool ignored;
        return Drain(ignored);
    }
    // Reads until an event that `match` accepts, for at most `limit`. The events read on the
    // way (SYN aside) go to `seen`; `stamp` gets the matching event's kernel time stamp.
    bool WaitFor(const std::function<bool(const Ev&)>& match, std::chrono::milliseconds limit,
                 std::vector<Ev>* seen = nullptr,
                 std::chrono::steady_clock::time_point* stamp = nullptr);
    // The key's current state as the kernel keeps it for the device.
    bool KeyDown(unsigned code) const;

private:
    int fd_;
};

} // namespace padwright::vm
