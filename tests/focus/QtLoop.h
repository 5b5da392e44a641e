#pragma once
// The focus tests run the sources on Qt's loop, through the program's own event-loop seam.
#include "platform/eventloop/QtEventLoop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace padwright::testing {

// Qt's loop, once the application object its notifiers need is there.
inline IEventLoop& Loop() {
    static int argc = 1;
    static char name[] = "padwright_focus_tests", *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    static QtEventLoop loop;
    return loop;
}

// Runs the loop until `done` holds (true) or `ms` pass (false).
template <typename Done> bool RunUntil(Done done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    QTimer tick; // bounds each wait
    tick.start(10);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

} // namespace padwright::testing
