#pragma once
// Which source follows the program in front in this session (MakeForegroundSource reads these
// from the environment): X11 in an X11 session only, since under XWayland _NET_ACTIVE_WINDOW
// covers X clients alone; on Wayland the wlroots protocol where the compositor offers it, else
// KWin or GNOME Shell where they own their bus names.
#include "platform/focus/ForegroundProgram.h"

#include <QDBusConnection>

namespace padwright {

struct ForegroundSession {
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string x11Display;     // DISPLAY
    QString runtimeFolder;      // where the KWin script's file goes
};

std::unique_ptr<IForegroundSource>
ChooseForegroundSource(IEventLoop& loop, const ForegroundSession& session, QDBusConnection bus);

} // namespace padwright
