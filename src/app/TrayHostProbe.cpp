#include "app/TrayHostProbe.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QGuiApplication>
#include <QSystemTrayIcon>

#include <xcb/xcb.h>

#include <string>

namespace padwright {

namespace {

bool StatusNotifierHostRegistered() {
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher))
        return false;
    QDBusInterface host(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return host.isValid() && host.property("IsStatusNotifierHostRegistered").toBool();
}

bool XEmbedTrayPresent() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return false;
    // Screen 0, as Qt's own tray uses the primary screen and our displays have one.
    const std::string name = "_NET_SYSTEM_TRAY_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    if (!atom)
        return false;
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    const bool present = owner && owner->owner != XCB_NONE;
    free(owner);
    free(atom);
    return present;
}

} // namespace

TrayHost ProbeTrayHost() {
    const QString platform = QGuiApplication::platformName();
    const bool desktop = platform == QLatin1String("xcb") || platform.startsWith("wayland");
    if (!desktop)
        return QSystemTrayIcon::isSystemTrayAvailable() ? TrayHost::XEmbed : TrayHost::None;
    if (StatusNotifierHostRegistered())
        return TrayHost::StatusNotifier;
    return XEmbedTrayPresent() ? TrayHost::XEmbed : TrayHost::None;
}

} // namespace padwright
