#pragma once
// Ending the session on a Linux desktop. Every action goes to the desktop's own session manager
// (GNOME, KDE, Xfce, LXQt: the first that is running), which lets programs save or object;
// only without one do shut-down and reboot go to systemd-logind. Nothing is ever forced, so
// inhibitors, polkit and programs with unsaved work have their say as with any request from
// the desktop.
#include "platform/session/Session.h"

#include <QDBusConnection>

#include <optional>

namespace padwright {

class DesktopSession : public ISessionControl {
public:
    // The system bus for logind, the session bus for the session manager.
    DesktopSession(QDBusConnection systemBus, QDBusConnection sessionBus);
    DesktopSession();

    // Nothing to enable: polkit decides when logind is asked.
    bool EnableShutdownPrivilege() override { return true; }
    // Sends the request without waiting for its outcome; false when nobody could be asked.
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;

private:
    bool AskLogind(const char* method);
    // nullopt when no session manager owns its bus name; else whether the request was sent.
    std::optional<bool> AskSessionManager(int action);

    QDBusConnection system_;
    QDBusConnection session_;
};

} // namespace padwright
