#pragma once
// Word of the notification area coming or going, so that nothing needs to ask at rest: the
// StatusNotifierWatcher's own signals and its name on the session bus, and the owner of the
// XEmbed tray selection on the X display (the MANAGER message of a tray that appears, the
// destruction of the one that owned the selection).
#include <QAbstractNativeEventFilter>
#include <QDBusServiceWatcher>
#include <QObject>

#include <cstdint>
#include <functional>

namespace padwright {

class TrayHostWatch final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // `changed` runs after any of them changed; asking which host is there now is its business.
    explicit TrayHostWatch(std::function<void()> changed, QObject* parent = nullptr);
    ~TrayHostWatch() override;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private slots:
    void HostSignal();

private:
    void WatchSessionBus();
    void WatchXDisplay();
    // Follows the destruction of the selection's current owner window; asks the X server once.
    void FollowTrayOwner();

    std::function<void()> changed_;
    QDBusServiceWatcher watcher_;
    void* x_ = nullptr; // the toolkit's xcb connection, when there is an X display
    std::uint32_t root_ = 0;
    std::uint32_t selection_ = 0;
    std::uint32_t manager_ = 0;
    std::uint32_t owner_ = 0;
};

} // namespace padwright
