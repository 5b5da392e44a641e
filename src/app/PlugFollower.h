#pragma once
// Turns the kernel's word of plugging into checks of the controllers: the monitor's file
// descriptor waits in the event loop (nothing runs at rest), a burst of nodes (a pad with its
// motion sensors and touchpad) settles into one check, and a check that asks for it is repeated
// shortly for a few seconds.
#include "platform/dinput/PlugMonitor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <functional>
#include <memory>

namespace padwright {

class PlugFollower : public QObject {
    Q_OBJECT
public:
    // Answers true to be asked again after RetryMs; `lastTry` is true once RetryForMs have
    // passed since it first asked.
    using Check = std::function<bool(bool lastTry)>;

    // Nodes of one device arrive within milliseconds of each other.
    static constexpr int SettleMs = 150;
    // A burst that goes on is checked after this long all the same.
    static constexpr int SettleAtMostMs = 500;
    static constexpr int RetryMs = 250;
    static constexpr int RetryForMs = 3000;

    PlugFollower(std::unique_ptr<IPlugMonitor> monitor, Check check, QObject* parent = nullptr);

    const IPlugMonitor& Monitor() const { return *monitor_; }

private:
    void Readable();
    void Settled();

    std::unique_ptr<IPlugMonitor> monitor_;
    Check check_;
    QSocketNotifier notifier_;
    QTimer settle_;
    QElapsedTimer burst_;
    QElapsedTimer retrying_;
};

} // namespace padwright
