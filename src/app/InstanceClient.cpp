#include "app/InstanceClient.h"

#include "app/InstanceBus.h"
#include "platform/focus/ForegroundProgram.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <cstdio>

namespace padwright {

namespace {

// Long enough for an instance whose window shows a box (the call waits for the event loop),
// short enough that a script does not hang on a stuck one.
constexpr int AnswerTimeoutMs = 10000;

int Refused(const QString& text) {
    std::fprintf(stderr, "padwright: %s\n", text.toLocal8Bit().constData());
    return 1;
}

QDBusMessage Call(const InstanceRequest& request) {
    static const char* const methods[] = {"Status", "Profile", "Start", "Stop", "Show"};
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(ForegroundBusName), QString::fromLatin1(InstanceObjectPath),
        QString::fromLatin1(InstanceInterface), QString::fromLatin1(methods[request.kind]));
    if (request.kind == InstanceRequest::Profile)
        call << QString::fromStdString(request.profile) << request.controller;
    return call;
}

// A connection of its own, closed again: the program that may start after it (--show) opens the
// toolkit's shared one afresh, under its own application object.
class CommandConnection {
public:
    CommandConnection()
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, Name())) {}
    ~CommandConnection() { QDBusConnection::disconnectFromBus(Name()); }
    QDBusConnection& Bus() { return bus_; }

private:
    static QString Name() { return QStringLiteral("padwright-command"); }
    QDBusConnection bus_;
};

} // namespace

std::optional<int> SendToRunningInstance(const InstanceRequest& request) {
    const bool show = request.kind == InstanceRequest::Show;
    CommandConnection connection;
    QDBusConnection& bus = connection.Bus();
    if (!bus.isConnected()) {
        if (show)
            return std::nullopt;
        return Refused(QStringLiteral("the session bus cannot be reached (%1), so no running "
                                      "Padwright can be told anything.")
                           .arg(bus.lastError().message()));
    }
    if (!bus.interface()->isServiceRegistered(QString::fromLatin1(ForegroundBusName))) {
        if (show)
            return std::nullopt;
        return Refused(QStringLiteral("Padwright is not running."));
    }
    const QDBusMessage reply = bus.call(Call(request), QDBus::Block, AnswerTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Refused(reply.errorMessage());
    if (request.kind == InstanceRequest::Status && !reply.arguments().isEmpty())
        std::fputs(reply.arguments().constFirst().toString().toLocal8Bit().constData(), stdout);
    return 0;
}

} // namespace padwright
