#include "platform/focus/qt/GnomeForegroundSource.h"

#include <QDBusMessage>
#include <QDBusReply>
#include <QObject>

namespace padwright {

namespace {

const QString Shell = QStringLiteral("org.gnome.Shell");
const QString ShellPath = QStringLiteral("/org/gnome/Shell");
const QString Extensions = QStringLiteral("org.gnome.Shell.Extensions");

// GNOME Shell's extension states.
enum ExtensionState { Enabled = 1, Error = 3, OutOfDate = 4 };

// Hands the Shell's ExtensionStateChanged signal for our extension to the source.
class StateWatch final : public QObject {
    Q_OBJECT
public:
    explicit StateWatch(GnomeForegroundSource& source) : source_(source) {}
public slots:
    void Changed(const QString& uuid, const QVariantMap& info) {
        if (uuid == QLatin1String(GnomeForegroundSource::ExtensionUuid))
            source_.TakeState(info);
    }

private:
    GnomeForegroundSource& source_;
};

} // namespace

GnomeForegroundSource::GnomeForegroundSource(QDBusConnection bus)
    : bus_(std::move(bus)),
      reports_(bus_, {[this](const WindowFacts& window) { Report(IdentifyProgram(window)); },
                      [this](const std::vector<WindowFacts>& windows) {
                          windows_ = DistinctPrograms(windows);
                      }}) {
    if (!reports_.Error().empty()) {
        SetUnavailable(reports_.Error());
        return;
    }
    stateWatch_ = std::make_unique<StateWatch>(*this);
    bus_.connect(Shell, ShellPath, Extensions, "ExtensionStateChanged", stateWatch_.get(),
                 SLOT(Changed(QString, QVariantMap)));
    QDBusMessage ask =
        QDBusMessage::createMethodCall(Shell, ShellPath, Extensions, "GetExtensionInfo");
    ask.setArguments({QString::fromLatin1(ExtensionUuid)});
    const QDBusReply<QVariantMap> info = bus_.call(ask, QDBus::Block, 3000);
    if (info.isValid())
        TakeState(info.value());
    else
        SetUnavailable("GNOME Shell does not say whether the Padwright extension is enabled: " +
                       info.error().message().toStdString());
}

GnomeForegroundSource::~GnomeForegroundSource() = default;

void GnomeForegroundSource::TakeState(const QVariantMap& info) {
    const std::string name =
        "The Padwright extension for GNOME Shell (" + std::string(ExtensionUuid) + ")";
    const int state = info.value("state").toInt();
    if (state == Enabled)
        return SetAvailable();
    if (info.isEmpty())
        SetUnavailable(name + " is not installed; after installing it, log out and in again.");
    else if (state == Error)
        SetUnavailable(name + " failed: " + info.value("error").toString().toStdString());
    else if (state == OutOfDate)
        SetUnavailable(name + " does not support this version of GNOME Shell.");
    else
        SetUnavailable(name + " is not enabled: turn it on in the Extensions program.");
    // No more reports come: nothing is known to be in front.
    Report({});
}

} // namespace padwright

#include "GnomeForegroundSource.moc"
