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
    void Changed(const QString& uuid, const QVariantMap& info) { source_.TakeState(uuid, info); }

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
    for (const char* uuid : ExtensionUuids) {
        QDBusMessage ask =
            QDBusMessage::createMethodCall(Shell, ShellPath, Extensions, "GetExtensionInfo");
        ask.setArguments({QString::fromLatin1(uuid)});
        const QDBusReply<QVariantMap> info = bus_.call(ask, QDBus::Block, 3000);
        if (!info.isValid()) {
            SetUnavailable("GNOME Shell does not say whether the Padwright extension is enabled: " +
                           info.error().message().toStdString());
            return;
        }
        TakeState(QString::fromLatin1(uuid), info.value());
    }
}

GnomeForegroundSource::~GnomeForegroundSource() = default;

void GnomeForegroundSource::TakeState(const QString& uuid, const QVariantMap& info) {
    for (std::size_t i = 0; i < std::size(ExtensionUuids); ++i)
        if (uuid == QLatin1String(ExtensionUuids[i])) {
            states_[i] = info;
            Judge();
        }
}

void GnomeForegroundSource::Judge() {
    // The one this Shell can run speaks for both: installed and not out of date, else any that
    // is installed, else the first.
    std::size_t shown = 0;
    for (std::size_t i = std::size(ExtensionUuids); i-- > 0;) {
        const int state = states_[i].value("state").toInt();
        if (state == Enabled)
            return SetAvailable();
        if (!states_[i].isEmpty() && (states_[shown].isEmpty() || state != OutOfDate))
            shown = i;
    }
    const QVariantMap& info = states_[shown];
    const int state = info.value("state").toInt();
    const std::string name =
        "The Padwright extension for GNOME Shell (" + std::string(ExtensionUuids[shown]) + ")";
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
