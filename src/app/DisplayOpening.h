#pragma once
// Qt ends the process with abort() and a core dump when no platform plugin can open a display
// (DISPLAY names a server that is not there, a Wayland session without XWayland and without the
// Qt Wayland plugin). While QApplication is being built, this catches that fatal message and
// ends the program with a message of its own instead, after `beforeExit` (which removes the
// single-instance lock).
#include <QString>
#include <QtGlobal>

#include <functional>

namespace padwright {

class DisplayOpening {
public:
    static constexpr int ExitNoDisplay = 1;

    explicit DisplayOpening(std::function<void()> beforeExit);
    // The display is open: Qt's messages go their normal way again, the ones held back included.
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

    // "DISPLAY=":99", WAYLAND_DISPLAY not set" and the like: which display was asked for.
    static QString RequestedDisplays();

private:
    static void Handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
};

} // namespace padwright
