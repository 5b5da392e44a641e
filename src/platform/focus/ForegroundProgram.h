#pragma once
// Which program is in front, as the desktop reports it: the seam between the desktop-specific
// sources (X11, wlroots, KWin, GNOME Shell) and the rules that pick a profile for it. Every source
// waits for the desktop's own notifications through the event loop: none wakes while nothing
// changes.
#include "platform/eventloop/EventLoop.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

// What identifies a program; a field the desktop does not give is "". All fields empty: nothing
// is in front (the desktop itself, or no window has the focus).
struct ForegroundProgram {
    std::string wmClass;    // X11 WM_CLASS class; KWin's resource class
    std::string wmInstance; // X11 WM_CLASS instance; KWin's resource name
    std::string appId;      // Wayland app_id; GNOME Shell's application id
    std::string executable; // the process's executable file name, where a process id is given
    bool own = false;       // one of Padwright's own windows, dialogs or menus

    bool operator==(const ForegroundProgram&) const = default;
};

class IForegroundSource {
public:
    virtual ~IForegroundSource() = default;

    // The desktop's name as the dialog shows it: "X11", "wlroots", "KDE", "GNOME"; "" when none.
    virtual std::string Kind() const = 0;
    virtual bool Available() const = 0;
    // Why following is not available, a sentence for the dialog; "" while it is.
    virtual std::string Unavailable() const = 0;

    // `changed` runs on the loop's thread each time the program in front changes (not for a
    // change of window within the same program), own windows included (`own` set). A new call
    // replaces the previous callback; an empty one stops the reports.
    virtual void Watch(std::function<void(const ForegroundProgram&)> changed) = 0;
    virtual ForegroundProgram Current() const = 0;
    // The programs of the open windows, one entry per program, where the desktop lists them;
    // empty where it does not.
    virtual std::vector<ForegroundProgram> OpenWindows() const = 0;
};

// The session D-Bus name the program owns while it runs; the KWin script and the GNOME Shell
// extension report the window in front to it.
inline constexpr const char* ForegroundBusName = "org.padwright.Padwright";

// The source for this session: X11 in an X11 session, else the wlroots protocol where the
// compositor offers it, else KWin or GNOME Shell over the session bus; otherwise one that is not
// Available() and says why. Defined in the Qt side (padwright_focus_desktop), since the KWin and
// GNOME sources speak D-Bus through Qt; the seam itself stays Qt-free.
std::unique_ptr<IForegroundSource> MakeForegroundSource(IEventLoop& loop);

} // namespace padwright
