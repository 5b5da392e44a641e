#pragma once
// The script KWin runs for us: it reports the active window and the open windows to
// FocusReports, with KWin 5.27's names (clientActivated, activeClient, clientList, byte-string
// resource classes) and KWin 6's (windowActivated, activeWindow, windowList, strings).
#include <string>

namespace padwright {

std::string KWinFocusScript();

} // namespace padwright
