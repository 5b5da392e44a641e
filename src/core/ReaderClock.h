#pragma once
// The reader's timers and its sleep on the event loop: the two engine timers, one watch per
// descriptor while asleep, and a single shot for a run put off after a wake.
#include "engine/RestingReader.h"
#include "platform/dinput/WakeSignal.h"
#include "platform/eventloop/EventLoop.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace padwright {

class ReaderClock final : public IReaderClock {
public:
    // `wake` runs when a watched descriptor has input, hang-up or an error; `run` when a run
    // asked for by RunAfter is due.
    ReaderClock(IEventLoop& loop, ITimer& dataCollect, ITimer& autoRepeat,
                std::function<void()> wake, std::function<void()> run);
    ~ReaderClock() override;

    void StartTimers() override;
    void StopTimers() override;
    bool Watch(const std::vector<int>& descriptors) override;
    void Unwatch() override;
    bool Pending(const std::vector<int>& descriptors) override;
    std::chrono::microseconds Now() override;
    std::chrono::microseconds Interval() override;
    void RunAfter(std::chrono::microseconds delay) override;
    void CancelRun() override;

private:
    // The copy outlives its watch: members go in reverse order.
    struct Watched {
        WaitHandleCopy copy;
        std::unique_ptr<IDescriptorWatch> watch;
    };

    IEventLoop& loop_;
    ITimer& dataCollect_;
    ITimer& autoRepeat_;
    std::unique_ptr<ITimer> later_;
    std::function<void()> wake_;
    std::vector<Watched> watched_;
};

} // namespace padwright
