#pragma once
// The reader's timers and its sleep, with Qt: the window's two engine timers, one socket
// notifier per descriptor while asleep, and a single shot for a run put off after a wake.
#include "engine/RestingReader.h"

#include <QObject>

#include <functional>
#include <vector>

#include <poll.h>

class QSocketNotifier;
class QTimer;

namespace padwright {

class ReaderClock final : public QObject, public IReaderClock {
public:
    // `wake` runs when a watched descriptor has input, hang-up or an error; `run` when a run
    // asked for by RunAfter is due.
    ReaderClock(QTimer* dataCollect, QTimer* autoRepeat, std::function<void()> wake,
                std::function<void()> run, QObject* parent = nullptr);
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
    struct Watched {
        QSocketNotifier* notifier;
        int descriptor;
    };

    QTimer* dataCollect_;
    QTimer* autoRepeat_;
    QTimer* later_;
    std::function<void()> wake_;
    std::vector<Watched> watched_;
    std::vector<pollfd> polled_;
};

} // namespace padwright
