#include "ui/ReaderClock.h"

#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace padwright {

ReaderClock::ReaderClock(QTimer* dataCollect, QTimer* autoRepeat, std::function<void()> wake,
                         QObject* parent)
    : QObject(parent), dataCollect_(dataCollect), autoRepeat_(autoRepeat), wake_(std::move(wake)) {}

ReaderClock::~ReaderClock() {
    Unwatch();
}

void ReaderClock::StartTimers() {
    autoRepeat_->start();
    dataCollect_->start();
}

void ReaderClock::StopTimers() {
    dataCollect_->stop();
    autoRepeat_->stop();
}

bool ReaderClock::Watch(const std::vector<int>& descriptors) {
    Unwatch();
    for (const int descriptor : descriptors) {
        // A copy of the descriptor: a controller removed or reopened while asleep closes its own,
        // and a notifier must never watch a closed (or reused) number.
        const int copy = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
        if (copy < 0) {
            Unwatch();
            return false;
        }
        // A gone device reports hang-up or an error, which Qt delivers as readable.
        auto* notifier = new QSocketNotifier(copy, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            if (wake_)
                wake_();
        });
        watched_.push_back({notifier, copy});
    }
    return true;
}

void ReaderClock::Unwatch() {
    for (const Watched& w : watched_) {
        // It may be the notifier whose signal is being handled right now.
        w.notifier->setEnabled(false);
        w.notifier->deleteLater();
        close(w.descriptor);
    }
    watched_.clear();
}

} // namespace padwright
