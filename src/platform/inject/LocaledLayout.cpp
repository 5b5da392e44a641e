#include "platform/inject/LocaledLayout.h"
#include "platform/inject/SystemLayout.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>

namespace padwright {

namespace {
// localed is started on demand by the bus; longer than that means it is not coming.
constexpr int AnswerTimeoutMs = 3000;
} // namespace

std::optional<XkbNames> ReadLocaledLayout(const QDBusConnection& systemBus, std::string& error) {
    if (!systemBus.isConnected()) {
        error = "no system bus";
        return std::nullopt;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.locale1", "/org/freedesktop/locale1",
                                       "org.freedesktop.DBus.Properties", "GetAll");
    call << QStringLiteral("org.freedesktop.locale1");
    const QDBusMessage reply = systemBus.call(call, QDBus::Block, AnswerTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = "systemd-localed did not answer: " + reply.errorMessage().toStdString();
        return std::nullopt;
    }
    const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    auto text = [&properties](const char* name) {
        return properties.value(QString::fromLatin1(name)).toString().trimmed().toStdString();
    };
    XkbNames names{text("X11Layout"), text("X11Variant"), text("X11Model"), text("X11Options")};
    if (names.layout.empty()) {
        error = "systemd-localed names no X11 keyboard layout";
        return std::nullopt;
    }
    return names;
}

std::optional<XkbNames> ReadSystemLayout(std::string& error) {
    return ReadLocaledLayout(QDBusConnection::systemBus(), error);
}

} // namespace padwright
