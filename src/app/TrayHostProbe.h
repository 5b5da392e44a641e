#pragma once
// Which notification area the desktop offers, asked the way the toolkit asks when it creates a
// tray icon, but each time anew: the toolkit remembers its first answer for the whole run.
#include "ui/TrayIcon.h"

namespace padwright {

// A StatusNotifierItem host registered with the watcher on the session bus comes first, as the
// toolkit prefers it; then an XEmbed system tray of the X display.
TrayHost ProbeTrayHost();

} // namespace padwright
