#pragma once
// An event loop that never runs by itself: timers only say whether they were started, and
// nothing is watched. The core's tests and benchmarks turn the program by calling its handlers.
#include "platform/eventloop/EventLoop.h"

namespace padwright {

class ManualEventLoop final : public IEventLoop {
public:
    struct Timer final : ITimer {
        void Start() override { active = true; }
        void Stop() override { active = false; }
        bool IsActive() const override { return active; }
        void SetInterval(int ms) override { interval = ms; }
        int Interval() const override { return interval; }
        bool active = false;
        int interval = 0;
    };
    std::unique_ptr<ITimer> CreateTimer(int ms, TimerMode, std::function<void()>) override {
        auto timer = std::make_unique<Timer>();
        timer->interval = ms;
        return timer;
    }
    std::unique_ptr<IDescriptorWatch> Watch(int, std::function<void()>) override {
        return std::make_unique<IDescriptorWatch>();
    }
};

} // namespace padwright
