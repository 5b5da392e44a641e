#include "ui/ReaderClock.h"

#include <QSocketNotifier>
#include <QTimer>

#include <chrono>

#include <fcntl.h>
#include <unistd.h>

namespace padwright {

ReaderClock::ReaderClock(QTimer* dataCollect, QTimer* autoRepeat, std::function<void()> wake,
                         std::function<void()> run, QObject* parent)
    : QObject(parent), dataCollect_(dataCollect), autoRepeat_(autoRepeat), later_(new QTimer(this)),
      wake_(std::move(wake)) {
    later_->setSingleShot(true);
    later_->setTimerType(Qt::PreciseTimer);
    connect(later_, &QTimer::timeout, this, [run = std::move(run)] {
        if (run)
            run();
    });
}

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
    return std::chrono::milliseconds(dataCollect_->interval());
}

void ReaderClock::RunAfter(std::chrono::microseconds delay) {
    // Never sooner than asked: the timer counts whole milliseconds.
    later_->start(std::chrono::ceil<std::chrono::milliseconds>(delay));
}

void ReaderClock::CancelRun() {
    later_->stop();
}

} // namespace padwright
