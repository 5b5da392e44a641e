#include "PrivateBus.h"

#include <QCoreApplication>

#include <stdexcept>

namespace padwright::testing {

bool FakeService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    calls_.push_back({service_, message.interface(), message.member(), message.arguments()});
    connection.send(answer_ ? answer_(message) : message.createReply());
    return true;
}

PrivateBus::PrivateBus() {
    static int argc = 1;
    static char name[] = "padwright_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    if (!daemon_.waitForStarted(10000))
        throw std::runtime_error("dbus-daemon did not start (is the dbus package installed?)");
    if (daemon_.waitForReadyRead(10000))
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        throw std::runtime_error("dbus-daemon printed no address");
}

PrivateBus::~PrivateBus() {
    daemon_.terminate();
    daemon_.waitForFinished(10000);
}

QDBusConnection PrivateBus::Connect(const QString& name) const {
    return QDBusConnection::connectToBus(address_, name);
}

} // namespace padwright::testing
