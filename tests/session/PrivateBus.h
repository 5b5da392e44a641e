#pragma once
// A D-Bus daemon of the test's own, and fake services on it that record the calls they get.
// Nothing reaches the machine's real system or session bus.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QString>

#include <functional>
#include <vector>

namespace padwright::testing {

struct BusCall {
    QString service, interface, member;
    QList<QVariant> arguments;
};

class FakeService : public QDBusVirtualObject {
public:
    // The answer to a call; an empty reply when not given.
    using Answer = std::function<QDBusMessage(const QDBusMessage&)>;
    FakeService(QString service, std::vector<BusCall>& calls, Answer answer = {})
        : service_(std::move(service)), calls_(calls), answer_(std::move(answer)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QString service_;
    std::vector<BusCall>& calls_;
    Answer answer_;
};

class PrivateBus {
public:
    // Starts dbus-daemon (and a QCoreApplication when there is none); throws
    // std::runtime_error when it does not start.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // A new connection of its own under `name`; close it with QDBusConnection::disconnectFromBus.
    QDBusConnection Connect(const QString& name) const;
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
};

} // namespace padwright::testing
