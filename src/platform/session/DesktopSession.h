#pragma once
// Ending the session on a Linux desktop. Power actions go to systemd-logind, log-off to the
// desktop's own session manager; none of them is ever forced, so inhibitors, polkit and
// programs with unsaved work have their say as with any request from the desktop.
#include "platform/session/Session.h"

#include <QDBusConnection>

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
    bool AskSessionManagerToLogOut();

    QDBusConnection system_;
    QDBusConnection session_;
};

} // namespace padwright
