#include "platform/focus/qt/KWinScript.h"

#include "platform/focus/ForegroundProgram.h"
#include "platform/focus/qt/FocusReports.h"

namespace padwright {

namespace {

constexpr const char* Body = R"js(
// KWin 5 hands resource classes over as byte arrays, KWin 6 as strings.
function text(value) {
    if (value === undefined || value === null)
        return "";
    if (value instanceof ArrayBuffer)
        return String.fromCharCode.apply(null, new Uint8Array(value));
    return String(value);
}
function fields(window) {
    if (!window)
        return ["", "", "", "0"];
    return [text(window.desktopFileName), text(window.resourceClass), text(window.resourceName),
            String(window.pid > 0 ? window.pid : 0)];
}
function front(window) {
    const f = fields(window);
    callDBus(service, path, iface, "Front", f[0], f[1], f[2], f[3]);
}
function windows(gone) {
    const list = workspace.windowList ? workspace.windowList() : workspace.clientList();
    let all = [];
    for (let i = 0; i < list.length; ++i)
        if (list[i] !== gone && (list[i].normalWindow || list[i].dialog))
            all = all.concat(fields(list[i]));
    callDBus(service, path, iface, "Windows", all);
}
(workspace.windowActivated || workspace.clientActivated).connect(front);
(workspace.windowAdded || workspace.clientAdded).connect(function () { windows(null); });
(workspace.windowRemoved || workspace.clientRemoved).connect(windows);
front(workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient);
windows(null);
)js";

} // namespace

std::string KWinFocusScript() {
    return std::string("// Reports the window in front to Padwright.\nconst service = \"") +
           ForegroundBusName + "\", path = \"" + FocusReportsPath + "\", iface = \"" +
           FocusReportsInterface + "\";\n" + Body;
}

} // namespace padwright
