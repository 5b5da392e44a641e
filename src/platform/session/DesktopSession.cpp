#include "platform/session/DesktopSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace padwright {

namespace {

struct LogOutRequest {
    const char* service;
    const char* path;
    const char* interface;
    const char* method;
    QList<QVariant> arguments;
};

// In the order they are tried; each asks for a log-out without a confirmation dialog that
// still lets programs object or save.
QList<LogOutRequest> LogOutRequests() {
    return {
        // Mode 1: no confirmation; mode 2 would ignore inhibitors.
        {"org.gnome.SessionManager",
         "/org/gnome/SessionManager",
         "org.gnome.SessionManager",
         "Logout",
         {QVariant::fromValue(1u)}},
        {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", {}},
        // Older KDE: no confirmation, type log-out, mode default.
        {"org.kde.ksmserver", "/KSMServer", "org.kde.KSMServerInterface", "logout", {0, 0, 0}},
        // No dialog, save the session.
        {"org.xfce.SessionManager",
         "/org/xfce/SessionManager",
         "org.xfce.Session.Manager",
         "Logout",
         {false, true}},
    };
}

} // namespace

DesktopSession::DesktopSession(QDBusConnection systemBus, QDBusConnection sessionBus)
    : system_(std::move(systemBus)), session_(std::move(sessionBus)) {}

DesktopSession::DesktopSession()
    : DesktopSession(QDBusConnection::systemBus(), QDBusConnection::sessionBus()) {}

bool DesktopSession::ExitWindowsEx(std::uint32_t flags, std::uint32_t) {
    // EWX_FORCE and EWX_FORCEIFHUNG are not honoured: a forced end loses unsaved work.
    if (flags & EWX_REBOOT)
        return AskLogind("Reboot");
    if (flags & (EWX_SHUTDOWN | EWX_POWEROFF))
        return AskLogind("PowerOff");
    // Never logind's TerminateSession: it kills the session's programs without a chance to save.
    return AskSessionManagerToLogOut();
}

bool DesktopSession::AskLogind(const char* method) {
    if (!system_.isConnected())
        return false;
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                       "org.freedesktop.login1.Manager", method);
    call << false; // not interactive: no polkit password dialog from a controller button
    return system_.send(call);
}

bool DesktopSession::AskSessionManagerToLogOut() {
    if (!session_.isConnected())
        return false;
    QDBusConnectionInterface* bus = session_.interface();
    for (const LogOutRequest& r : LogOutRequests()) {
        if (!bus->isServiceRegistered(r.service).value())
            continue;
        QDBusMessage call =
            QDBusMessage::createMethodCall(r.service, r.path, r.interface, r.method);
        call.setArguments(r.arguments);
        return session_.send(call);
    }
    return false;
}

} // namespace padwright
