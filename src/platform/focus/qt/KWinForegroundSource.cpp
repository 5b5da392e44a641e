#include "platform/focus/qt/KWinForegroundSource.h"

#include "platform/focus/qt/KWinScript.h"

#include <QDBusMessage>
#include <QFile>

namespace padwright {

namespace {

const QString KWin = QStringLiteral("org.kde.KWin");
// KWin answers at once; a KWin that hangs must not hold up the program's start or end.
constexpr int CallTimeoutMs = 3000;

std::string Why(const QDBusMessage& reply) {
    return reply.errorMessage().isEmpty() ? reply.errorName().toStdString()
                                          : reply.errorMessage().toStdString();
}

} // namespace

KWinForegroundSource::KWinForegroundSource(QDBusConnection bus, const QString& scriptFolder)
    : bus_(std::move(bus)), scriptPath_(scriptFolder + "/padwright-focus-kwin.js"),
      reports_(bus_, {[this](const WindowFacts& window) { Report(IdentifyProgram(window)); },
                      [this](const std::vector<WindowFacts>& windows) {
                          windows_ = DistinctPrograms(windows);
                      }}),
      restarts_(KWin, bus_, QDBusServiceWatcher::WatchForRegistration) {
    if (!reports_.Error().empty()) {
        SetUnavailable(reports_.Error());
        return;
    }
    loaded_ = Load();
    QObject::connect(&restarts_, &QDBusServiceWatcher::serviceRegistered, [this] {
        windows_.clear();
        loaded_ = Load();
    });
}

KWinForegroundSource::~KWinForegroundSource() {
    if (loaded_)
        Scripting("unloadScript", {QString::fromLatin1(PluginName)});
    QFile::remove(scriptPath_);
}

QDBusMessage KWinForegroundSource::Scripting(const QString& method,
                                             const QList<QVariant>& arguments) const {
    QDBusMessage call =
        QDBusMessage::createMethodCall(KWin, "/Scripting", "org.kde.kwin.Scripting", method);
    call.setArguments(arguments);
    return bus_.call(call, QDBus::Block, CallTimeoutMs);
}

bool KWinForegroundSource::Load() {
    SetAvailable();
    QFile file(scriptPath_);
    const std::string script = KWinFocusScript();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(script.data(), static_cast<qint64>(script.size())) !=
            static_cast<qint64>(script.size())) {
        SetUnavailable("The script for KWin cannot be written to " + scriptPath_.toStdString() +
                       ": " + file.errorString().toStdString() + ".");
        return false;
    }
    file.close();
    const QString plugin = QString::fromLatin1(PluginName);
    Scripting("unloadScript", {plugin}); // one left by a run that ended without unloading it
    const QDBusMessage loaded = Scripting("loadScript", {scriptPath_, plugin});
    const int id = loaded.arguments().value(0, -1).toInt();
    if (loaded.type() != QDBusMessage::ReplyMessage || id < 0) {
        SetUnavailable("KWin did not load the script that reports the active window" +
                       (loaded.type() == QDBusMessage::ErrorMessage ? ": " + Why(loaded) : "") +
                       ".");
        return false;
    }
    // The script's object is /Scripting/Script<id> in KWin 6 and /<id> in KWin 5.
    QDBusMessage ran;
    for (const QString& path :
         {"/Scripting/Script" + QString::number(id), "/" + QString::number(id)}) {
        ran = bus_.call(QDBusMessage::createMethodCall(KWin, path, "org.kde.kwin.Script", "run"),
                        QDBus::Block, CallTimeoutMs);
        if (ran.type() == QDBusMessage::ReplyMessage)
            return true;
    }
    SetUnavailable("KWin did not run the script that reports the active window: " + Why(ran) + ".");
    return true; // loaded all the same: unloaded at the end
}

} // namespace padwright
