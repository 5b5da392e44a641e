#pragma once
// The program in front under KDE Plasma (Wayland and X11): KWin tells no other program which
// window is active, but runs scripts that may call out over D-Bus. We load a small script
// (KWinFocusScript) through KWin's scripting interface under a fixed plugin name, run it, and it
// reports to FocusReports; it is unloaded when the source goes. A script left by a run that
// crashed is unloaded before ours is loaded, and a KWin that is restarted (Plasma 6 restarts it
// after a crash, the session lives on) is given the script again.
#include "platform/focus/ForegroundSourceBase.h"
#include "platform/focus/qt/FocusReports.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

namespace padwright {

class KWinForegroundSource final : public ForegroundSourceBase {
public:
    // `scriptFolder`: where the script's file is written (the user's runtime folder).
    KWinForegroundSource(QDBusConnection bus, const QString& scriptFolder);
    ~KWinForegroundSource() override;
    KWinForegroundSource(const KWinForegroundSource&) = delete;
    KWinForegroundSource& operator=(const KWinForegroundSource&) = delete;

    std::string Kind() const override { return "KDE"; }
    std::vector<ForegroundProgram> OpenWindows() const override { return windows_; }

    static constexpr const char* PluginName = "padwright-focus";

private:
    bool Load();
    QDBusMessage Scripting(const QString& method, const QList<QVariant>& arguments) const;

    QDBusConnection bus_;
    QString scriptPath_;
    bool loaded_ = false;
    std::vector<ForegroundProgram> windows_;
    FocusReports reports_;
    QDBusServiceWatcher restarts_;
};

} // namespace padwright
