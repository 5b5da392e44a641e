#include "core/ReaderClock.h"

#include <fcntl.h>

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
        // A copy of the descriptor: a controller removed or reopened while asleep closes its own,
        // and a watch must never be on a closed (or reused) number.
        UniqueFd copy(fcntl(descriptor, F_DUPFD_CLOEXEC, 0));
        if (!copy) {
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

bool ReaderClock::Pending(const std::vector<int>& descriptors) {
    polled_.clear();
    for (const int descriptor : descriptors)
        polled_.push_back({descriptor, POLLIN, 0});
    // An error or hang-up shows in revents whatever was asked for.
    return poll(polled_.data(), polled_.size(), 0) > 0;
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
