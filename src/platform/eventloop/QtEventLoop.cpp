#include "platform/eventloop/QtEventLoop.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace padwright {

namespace {

class QtTimer final : public ITimer {
public:
    QtTimer(int milliseconds, TimerMode mode, std::function<void()> fire) {
        timer_.setInterval(milliseconds);
        timer_.setSingleShot(mode == TimerMode::SingleShot || mode == TimerMode::PreciseSingleShot);
        if (mode == TimerMode::Precise || mode == TimerMode::PreciseSingleShot)
            timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [fire = std::move(fire)] { fire(); });
    }
    void Start() override { timer_.start(); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    void SetInterval(int milliseconds) override { timer_.setInterval(milliseconds); }
    int Interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

// The notifiers whose signal is being handled, innermost last (a handler may open a modal box,
// whose loop delivers other notifiers' signals).
thread_local std::vector<const QSocketNotifier*> firing;

class QtDescriptorWatch final : public IDescriptorWatch {
public:
    QtDescriptorWatch(int descriptor, std::function<void()> ready)
        : notifier_(new QSocketNotifier(descriptor, QSocketNotifier::Read)) {
        // A gone device reports hang-up or an error, which Qt delivers as readable.
        QObject::connect(notifier_, &QSocketNotifier::activated,
                         [n = notifier_, ready = std::move(ready)] {
                             firing.push_back(n);
                             ready();
                             firing.pop_back();
                         });
    }
    ~QtDescriptorWatch() override {
        notifier_->setEnabled(false);
        // A notifier may not be deleted inside its own signal: there it goes once the loop is back.
        if (std::find(firing.begin(), firing.end(), notifier_) != firing.end())
            notifier_->deleteLater();
        else
            delete notifier_;
    }

private:
    QSocketNotifier* notifier_;
};

} // namespace

std::unique_ptr<ITimer> QtEventLoop::CreateTimer(int milliseconds, TimerMode mode,
                                                 std::function<void()> fire) {
    return std::make_unique<QtTimer>(milliseconds, mode, std::move(fire));
}

std::unique_ptr<IDescriptorWatch> QtEventLoop::Watch(int descriptor, std::function<void()> ready) {
    return std::make_unique<QtDescriptorWatch>(descriptor, std::move(ready));
}

} // namespace padwright
