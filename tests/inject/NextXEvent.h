#pragma once
// The next event on a test's own X connection, nullopt when none comes within five seconds.
#include <X11/Xlib.h>

#include <optional>
#include <poll.h>

namespace padwright::testing {

inline std::optional<XEvent> NextXEvent(Display* display) {
    while (XPending(display) == 0) {
        pollfd pfd{ConnectionNumber(display), POLLIN, 0};
        if (poll(&pfd, 1, 5000) <= 0)
            return std::nullopt;
    }
    XEvent e;
    XNextEvent(display, &e);
    return e;
}

} // namespace padwright::testing
