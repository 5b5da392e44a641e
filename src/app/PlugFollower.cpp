#include "app/PlugFollower.h"

namespace padwright {

PlugFollower::PlugFollower(std::unique_ptr<IPlugMonitor> monitor, Check check, QObject* parent)
    : QObject(parent), monitor_(std::move(monitor)), check_(std::move(check)),
      notifier_(monitor_->Fd(), QSocketNotifier::Read) {
    settle_.setSingleShot(true);
    connect(&notifier_, &QSocketNotifier::activated, this, &PlugFollower::Readable);
    connect(&settle_, &QTimer::timeout, this, &PlugFollower::Settled);
}

void PlugFollower::Readable() {
    if (!monitor_->Drain())
        return;
    if (!settle_.isActive() || retrying_.isValid()) {
        burst_.start();
        settle_.start(SettleMs);
    } else if (burst_.elapsed() < SettleAtMostMs) {
        settle_.start(SettleMs); // wait for the rest of the device
    }
}

void PlugFollower::Settled() {
    const bool lastTry = retrying_.isValid() && retrying_.elapsed() >= RetryForMs;
    if (check_(lastTry) && !lastTry) {
        if (!retrying_.isValid())
            retrying_.start();
        settle_.start(RetryMs);
    } else {
        retrying_.invalidate();
    }
}

} // namespace padwright
