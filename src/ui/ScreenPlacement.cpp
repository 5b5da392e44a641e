#include "ui/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace padwright {

namespace {

// The start of a span of `length` inside [areaStart, areaStart + areaLength), kept where it is
// when it fits, its start at the area's start when it cannot.
int Fit(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

} // namespace

void KeepOnScreen(QWidget& window) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (!screen)
        screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // Before the first show the frame is not known yet: its size is at least the window's.
    const QRect frame = window.frameGeometry();
    const QPoint placed(Fit(frame.x(), frame.width(), area.x(), area.width()),
                        Fit(frame.y(), frame.height(), area.y(), area.height()));
    if (placed != frame.topLeft())
        window.move(placed);
}

} // namespace padwright
