#pragma once
// SIGTERM, SIGINT and SIGHUP (log-out, Ctrl+C, a closed terminal) end the program the way its
// Exit does, so that shut-down still runs: controllers unacquired, the log complete, held keys
// released, the single-instance lock removed.
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace padwright {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    // `quit` runs on the user-interface thread, once per signal received. One instance at a time.
    explicit QuitSignals(std::function<void()> quit, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    void Received();

    std::function<void()> quit_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace padwright
