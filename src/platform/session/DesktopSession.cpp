#include "platform/session/DesktopSession.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace padwright {

namespace {

enum Action { LogOff, PowerOff, Reboot, ActionCount };

struct Request {
    const char* method;
    QList<QVariant> arguments;
};

struct SessionManager {
    const char* service;
    const char* path;
    const char* interface;
    Request requests[ActionCount];
};

// In the order they are tried. Each request skips the manager's confirmation dialog but still
// ends the session the normal way: programs are asked and may save or object, inhibitors hold.
const QList<SessionManager>& SessionManagers() {
    static const QList<SessionManager> managers = {
        // Logout mode 1: no confirmation (2 would ignore inhibitors). The Request* methods are
        // the ones without a dialog.
        {"org.gnome.SessionManager",
         "/org/gnome/SessionManager",
         "org.gnome.SessionManager",
         {{"Logout", {QVariant::fromValue(1u)}}, {"RequestShutdown", {}}, {"RequestReboot", {}}}},
        {"org.kde.Shutdown",
         "/Shutdown",
         "org.kde.Shutdown",
         {{"logout", {}}, {"logoutAndShutdown", {}}, {"logoutAndReboot", {}}}},
        // Older KDE: no confirmation; log out only, reboot or halt; wait for other sessions.
        {"org.kde.ksmserver",
         "/KSMServer",
         "org.kde.KSMServerInterface",
         {{"logout", {0, 0, 0}}, {"logout", {0, 2, 0}}, {"logout", {0, 1, 0}}}},
        // Xfce asks no confirmation for these; "true" lets the session be saved.
        {"org.xfce.SessionManager",
         "/org/xfce/SessionManager",
         "org.xfce.Session.Manager",
         {{"Logout", {false, true}}, {"Shutdown", {true}}, {"Restart", {true}}}},
        {"org.lxqt.session",
         "/LXQtSession",
         "org.lxqt.session",
         {{"logout", {}}, {"powerOff", {}}, {"reboot", {}}}},
    };
    return managers;
}

Action ActionOf(std::uint32_t flags) {
    if (flags & EWX_REBOOT)
        return Reboot;
    if (flags & (EWX_SHUTDOWN | EWX_POWEROFF))
        return PowerOff;
    return LogOff;
}

} // namespace

DesktopSession::DesktopSession(QDBusConnection systemBus, QDBusConnection sessionBus)
    : system_(std::move(systemBus)), session_(std::move(sessionBus)) {}

DesktopSession::DesktopSession()
    : DesktopSession(QDBusConnection::systemBus(), QDBusConnection::sessionBus()) {}

bool DesktopSession::ExitWindowsEx(std::uint32_t flags, std::uint32_t) {
    // EWX_FORCE and EWX_FORCEIFHUNG are not honoured: a forced end loses unsaved work.
    const Action action = ActionOf(flags);
    if (const std::optional<bool> asked = AskSessionManager(action))
        return *asked; // its refusal has the last word: logind would bypass the programs
    switch (action) {
    case PowerOff:
        return AskLogind("PowerOff");
    case Reboot:
        return AskLogind("Reboot");
    default:
        // Never logind's TerminateSession: it kills the session's programs without a chance
        // to save.
        return false;
    }
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

std::optional<bool> DesktopSession::AskSessionManager(int action) {
    if (!session_.isConnected())
        return std::nullopt;
    QDBusConnectionInterface* bus = session_.interface();
    for (const SessionManager& m : SessionManagers()) {
        if (!bus->isServiceRegistered(m.service).value())
            continue;
        const Request& r = m.requests[action];
        QDBusMessage call =
            QDBusMessage::createMethodCall(m.service, m.path, m.interface, r.method);
        call.setArguments(r.arguments);
        return session_.send(call);
    }
    return std::nullopt;
}

} // namespace padwright
