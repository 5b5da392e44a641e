#include "platform/focus/qt/ForegroundSourceChoice.h"

#include "platform/focus/ForegroundSourceBase.h"
#include "platform/focus/qt/GnomeForegroundSource.h"
#include "platform/focus/qt/KWinForegroundSource.h"
#include "platform/focus/wlroots/WlrootsForegroundSource.h"
#include "platform/focus/x11/X11ForegroundSource.h"

#include <QDBusConnectionInterface>
#include <QStandardPaths>

#include <cstdlib>

namespace padwright {

namespace {

bool Owned(QDBusConnection& bus, const char* name) {
    return bus.isConnected() && bus.interface()->isServiceRegistered(QString::fromLatin1(name));
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::unique_ptr<IForegroundSource>
ChooseForegroundSource(IEventLoop& loop, const ForegroundSession& session, QDBusConnection bus) {
    // startx leaves XDG_SESSION_TYPE at "tty": an X display without a Wayland one is X11 too.
    const bool wayland = !session.waylandDisplay.empty() && session.sessionType != "x11";
    if (!wayland && !session.x11Display.empty())
        return std::make_unique<X11ForegroundSource>(loop, session.x11Display.c_str());
    if (!wayland)
        return std::make_unique<NoForegroundSource>(
            "Neither an X11 display nor a Wayland compositor was found.");
    auto wlroots = std::make_unique<WlrootsForegroundSource>(loop, session.waylandDisplay.c_str());
    if (wlroots->Available())
        return wlroots;
    if (Owned(bus, "org.kde.KWin"))
        return std::make_unique<KWinForegroundSource>(bus, session.runtimeFolder);
    if (Owned(bus, "org.gnome.Shell"))
        return std::make_unique<GnomeForegroundSource>(bus);
    return std::make_unique<NoForegroundSource>(
        "This Wayland desktop does not tell other programs which window is active: it offers no "
        "wlr foreign toplevel management, and it is neither KDE Plasma nor GNOME.");
}

std::unique_ptr<IForegroundSource> MakeForegroundSource(IEventLoop& loop) {
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return ChooseForegroundSource(loop,
                                  {Environment("XDG_SESSION_TYPE"), Environment("WAYLAND_DISPLAY"),
                                   Environment("DISPLAY"), runtime},
                                  QDBusConnection::sessionBus());
}

} // namespace padwright
