#pragma once
// An event loop for the focus tests: poll() over the watched descriptors and single-shot timers,
// run until a condition holds. Counts the callbacks it runs, so a test can see a source at rest.
#include "platform/eventloop/EventLoop.h"

#include <chrono>
#include <functional>
#include <list>

namespace padwright::testing {

class PollLoop final : public IEventLoop {
public:
    std::unique_ptr<ITimer> CreateTimer(int milliseconds, TimerMode mode,
                                        std::function<void()> fire) override;
    std::unique_ptr<IDescriptorWatch> Watch(int descriptor, std::function<void()> ready) override;

    // Runs callbacks until `done` holds (true) or `timeout` passes (false).
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // Runs whatever is ready within `span`.
    void RunFor(std::chrono::milliseconds span) {
        RunUntil([] { return false; }, span);
    }
    int Wakeups() const { return wakeups_; }

    struct Entry {
        int descriptor = -1; // -1: a timer
        std::function<void()> run;
        std::chrono::steady_clock::time_point due = {}; // a started timer's
        bool started = false;
        int interval = 0;
        bool dead = false;
    };

private:
    std::list<Entry> entries_;
    int wakeups_ = 0;
};

} // namespace padwright::testing
