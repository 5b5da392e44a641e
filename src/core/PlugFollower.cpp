#include "core/PlugFollower.h"

#include "core/Core.h"

namespace padwright {

PlugFollower::PlugFollower(IEventLoop& loop, std::unique_ptr<IPlugMonitor> monitor, Check check)
    : monitor_(std::move(monitor)), check_(std::move(check)),
      settle_(loop.CreateTimer(SettleMs, TimerMode::PreciseSingleShot, [this] { Settled(); })),
      watch_(loop.Watch(monitor_->Fd(), [this] { Readable(); })) {}

int PlugFollower::Since(Clock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

void PlugFollower::Settle(int milliseconds) {
    settle_->SetInterval(milliseconds);
    settle_->Start();
}

void PlugFollower::Readable() {
    if (!monitor_->Drain())
        return;
    if (!settle_->IsActive() || retrying_) {
        burst_ = Clock::now();
        Settle(SettleMs);
    } else if (Since(burst_) < SettleAtMostMs) {
        Settle(SettleMs); // wait for the rest of the device
    }
}

void PlugFollower::Settled() {
    const bool lastTry = retrying_ && Since(*retrying_) >= RetryForMs;
    if (check_(lastTry) && !lastTry) {
        if (!retrying_)
            retrying_ = Clock::now();
        Settle(RetryMs);
    } else {
        retrying_.reset();
    }
}

std::unique_ptr<PlugFollower> FollowPlugging(Core& core, IEventLoop& loop,
                                             std::unique_ptr<IPlugMonitor> monitor) {
    return std::make_unique<PlugFollower>(loop, std::move(monitor), [&core](bool lastTry) {
        bool again = false;
        core.Run([&] { again = core.FollowPlugging(lastTry); });
        return again;
    });
}

} // namespace padwright
