#pragma once
// The reader's timers and its sleep, with Qt: the window's two engine timers, and one socket
// notifier per descriptor while asleep.
#include "engine/RestingReader.h"

#include <QObject>

#include <functional>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace padwright {

class ReaderClock final : public QObject, public IReaderClock {
public:
    // `wake` runs when a watched descriptor has input, hang-up or an error.
    ReaderClock(QTimer* dataCollect, QTimer* autoRepeat, std::function<void()> wake,
                QObject* parent = nullptr);
    ~ReaderClock() override;

    void StartTimers() override;
    void StopTimers() override;
    bool Watch(const std::vector<int>& descriptors) override;
    void Unwatch() override;

private:
    struct Watched {
        QSocketNotifier* notifier;
        int descriptor;
    };

    QTimer* dataCollect_;
    QTimer* autoRepeat_;
    std::function<void()> wake_;
    std::vector<Watched> watched_;
};

} // namespace padwright
