#include "app/DisplayOpening.h"

#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace padwright {

namespace {

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

// One QApplication per process, so one opening at a time.
QtMessageHandler previous = nullptr;
std::function<void()> cleanUp;
std::vector<HeldMessage> held;

QString Describe(const char* name) {
    const QByteArray value = qgetenv(name);
    return value.isEmpty() ? QStringLiteral("%1 not set").arg(QLatin1String(name))
                           : QStringLiteral("%1=\"%2\"")
                                 .arg(QLatin1String(name), QString::fromLocal8Bit(value));
}

} // namespace

DisplayOpening::DisplayOpening(std::function<void()> beforeExit) {
    cleanUp = std::move(beforeExit);
    held.clear();
    previous = qInstallMessageHandler(&DisplayOpening::Handler);
}

DisplayOpening::~DisplayOpening() {
    qInstallMessageHandler(previous);
    cleanUp = nullptr;
    for (const HeldMessage& m : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.constData());
        qt_message_output(m.type, context, m.text);
    }
    held.clear();
}

QString DisplayOpening::RequestedDisplays() {
    QStringList parts{Describe("DISPLAY"), Describe("WAYLAND_DISPLAY")};
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        parts << Describe("QT_QPA_PLATFORM");
    return parts.join(QStringLiteral(", "));
}

void DisplayOpening::Handler(QtMsgType type, const QMessageLogContext& context,
                             const QString& text) {
    if (type != QtFatalMsg) {
        // The platform plugins say why they failed before the fatal message comes; kept for it.
        held.push_back({type, QByteArray(context.category ? context.category : ""), text});
        return;
    }
    QStringList reasons;
    for (const HeldMessage& m : held)
        if (m.category.startsWith("qt.qpa") || m.type >= QtWarningMsg)
            reasons << m.text.trimmed().remove(QRegularExpression(QStringLiteral("\\.+$")));
    const QString message =
        QStringLiteral("Padwright cannot open a display (%1)%2. It needs a graphical session: an "
                       "X server, or a Wayland compositor with the Qt Wayland plugin "
                       "(qt6-wayland) installed.\n")
            .arg(RequestedDisplays(),
                 reasons.isEmpty() ? QString() : QStringLiteral(": ") + reasons.join("; "));
    std::fputs(message.toLocal8Bit().constData(), stderr);
    if (cleanUp)
        cleanUp();
    std::_Exit(ExitNoDisplay);
}

} // namespace padwright
