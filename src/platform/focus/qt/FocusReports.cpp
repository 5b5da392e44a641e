#include "platform/focus/qt/FocusReports.h"

#include "platform/focus/ForegroundProgram.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>

namespace padwright {

namespace {

// Every string in the arguments, in order, lists opened up.
void Flatten(const QVariant& value, QStringList& out) {
    if (value.canConvert<QDBusArgument>()) {
        const auto argument = value.value<QDBusArgument>();
        if (argument.currentType() == QDBusArgument::ArrayType) {
            argument.beginArray();
            while (!argument.atEnd())
                Flatten(argument.asVariant(), out);
            argument.endArray();
        }
    } else if (value.canConvert<QDBusVariant>()) {
        Flatten(value.value<QDBusVariant>().variant(), out);
    } else if (value.userType() == QMetaType::QStringList ||
               value.userType() == QMetaType::QVariantList) {
        for (const QVariant& item : value.toList())
            Flatten(item, out);
    } else {
        out << value.toString(); // numbers too, whole doubles without a fraction
    }
}

WindowFacts Facts(const QStringList& fields, qsizetype at) {
    auto field = [&](qsizetype i) { return at + i < fields.size() ? fields[at + i] : QString(); };
    return {field(1).toStdString(), field(2).toStdString(), field(0).toStdString(),
            field(3).toLongLong()};
}

} // namespace

FocusReports::FocusReports(QDBusConnection bus, Handlers handlers)
    : bus_(std::move(bus)), handlers_(std::move(handlers)) {
    const QString name = QString::fromLatin1(ForegroundBusName);
    if (!bus_.isConnected()) {
        error_ = "There is no session bus.";
        return;
    }
    // Held already when the program took it for its commands; no queueing behind another owner.
    const auto taken =
        bus_.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (!taken.isValid() || taken.value() != QDBusConnectionInterface::ServiceRegistered)
        error_ = "Another program owns the bus name " + name.toStdString() + ".";
    else if (!bus_.registerVirtualObject(QString::fromLatin1(FocusReportsPath), this))
        error_ = std::string("The object ") + FocusReportsPath + " is taken on the session bus.";
}

FocusReports::~FocusReports() {
    if (error_.empty())
        bus_.unregisterObject(QString::fromLatin1(FocusReportsPath));
}

QString FocusReports::introspect(const QString&) const {
    return QStringLiteral(R"(<interface name="org.padwright.Padwright.Focus">
  <method name="Front"><arg name="appId" type="s" direction="in"/><arg name="wmClass" type="s" direction="in"/><arg name="wmInstance" type="s" direction="in"/><arg name="pid" type="u" direction="in"/></method>
  <method name="Windows"><arg name="fields" type="as" direction="in"/></method>
</interface>)");
}

bool FocusReports::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
    const bool ours = message.interface().isEmpty() ||
                      message.interface() == QLatin1String(FocusReportsInterface);
    QStringList fields;
    for (const QVariant& argument : message.arguments())
        Flatten(argument, fields);
    if (ours && message.member() == QLatin1String("Front") && handlers_.front) {
        handlers_.front(Facts(fields, 0));
    } else if (ours && message.member() == QLatin1String("Windows") && handlers_.windows) {
        std::vector<WindowFacts> windows;
        for (qsizetype at = 0; at + 4 <= fields.size(); at += 4)
            windows.push_back(Facts(fields, at));
        handlers_.windows(windows);
    } else {
        connection.send(message.createErrorReply(QDBusError::UnknownMethod,
                                                 "No method " + message.member() + " here"));
        return true;
    }
    connection.send(message.createReply());
    return true;
}

} // namespace padwright
