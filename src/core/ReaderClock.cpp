#include "core/ReaderClock.h"

#include <algorithm>

namespace padwright {

ReaderClock::ReaderClock(IEventLoop& loop, ITimer& dataCollect, ITimer& autoRepeat,
                         std::function<void()> wake, std::function<void()> run)
    : loop_(loop), dataCollect_(dataCollect), autoRepeat_(autoRepeat),
      later_(loop.CreateTimer(0, TimerMode::PreciseSingleShot,
                              [run = std::move(run)] {
                                  if (run)
                                      run();
                              })),
      wake_(std::move(wake)) {}

ReaderClock::~ReaderClock() {
    Unwatch();
}

void ReaderClock::StartTimers() {
    autoRepeat_.Start();
    dataCollect_.Start();
}

void ReaderClock::StopTimers() {
    dataCollect_.Stop();
    autoRepeat_.Stop();
}

bool ReaderClock::Watch(const std::vector<int>& descriptors) {
    Unwatch();
    for (const int descriptor : descriptors) {
        // A copy of the descriptor: a controller removed or reopened while asleep closes its own.
        WaitHandleCopy copy(descriptor);
        if (copy.Get() == NoWaitHandle) {
            Unwatch();
            return false;
        }
        auto watch = loop_.Watch(copy.Get(), [this] {
            if (wake_)
                wake_();
        });
        watched_.push_back({std::move(copy), std::move(watch)});
    }
    return true;
}

void ReaderClock::Unwatch() {
    watched_.clear();
}

// An error or hang-up counts as pending: it wakes the reader too.
bool ReaderClock::Pending(const std::vector<int>& descriptors) {
    return std::any_of(descriptors.begin(), descriptors.end(), IsSignalled);
}

std::chrono::microseconds ReaderClock::Now() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::chrono::microseconds ReaderClock::Interval() {
    return std::chrono::milliseconds(dataCollect_.Interval());
}

void ReaderClock::RunAfter(std::chrono::microseconds delay) {
    // Never sooner than asked: the timer counts whole milliseconds.
    later_->SetInterval(
        static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(delay).count()));
    later_->Start();
}

void ReaderClock::CancelRun() {
    later_->Stop();
}

} // namespace padwright
