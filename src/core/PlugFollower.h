#pragma once
// Turns the kernel's word of plugging into checks of the controllers: the monitor's descriptor
// waits in the event loop (nothing runs at rest), a burst of nodes (a pad with its motion
// sensors and touchpad) settles into one check, and a check that asks for it is repeated shortly
// for a few seconds.
#include "platform/dinput/PlugMonitor.h"
#include "platform/eventloop/EventLoop.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace padwright {

class PlugFollower {
public:
    // Answers true to be asked again after RetryMs; `lastTry` is true once RetryForMs have
    // passed since it first asked.
    using Check = std::function<bool(bool lastTry)>;

    // Nodes of one device arrive within milliseconds of each other.
    static constexpr int SettleMs = 150;
    // A burst that goes on is checked after this long all the same.
    static constexpr int SettleAtMostMs = 500;
    static constexpr int RetryMs = 250;
    static constexpr int RetryForMs = 3000;

    PlugFollower(IEventLoop& loop, std::unique_ptr<IPlugMonitor> monitor, Check check);

    const IPlugMonitor& Monitor() const { return *monitor_; }

private:
    using Clock = std::chrono::steady_clock;
    void Readable();
    void Settled();
    void Settle(int milliseconds);
    static int Since(Clock::time_point start);

    std::unique_ptr<IPlugMonitor> monitor_;
    Check check_;
    std::unique_ptr<ITimer> settle_;
    std::unique_ptr<IDescriptorWatch> watch_;
    Clock::time_point burst_;
    std::optional<Clock::time_point> retrying_;
};

class Core;

// Plugging checks the core's controllers (Core::FollowPlugging), errors shown as every command's.
std::unique_ptr<PlugFollower> FollowPlugging(Core& core, IEventLoop& loop,
                                             std::unique_ptr<IPlugMonitor> monitor);

} // namespace padwright
