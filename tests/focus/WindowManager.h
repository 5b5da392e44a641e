#pragma once
// An EWMH window manager's part on an Xvfb of its own: client windows with WM_CLASS, _NET_WM_PID
// and WM_CLIENT_MACHINE, listed in _NET_CLIENT_LIST, the active one in _NET_ACTIVE_WINDOW.
#include "../app/support/XSession.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace padwright::testing {

struct WindowManager {
    explicit WindowManager(bool namesActive = true) {
        if (namesActive)
            SayActiveIsNamed();
    }
    void SayActiveIsNamed() {
        Set(root, "_NET_SUPPORTED", XA_ATOM, XInternAtom(x.X(), "_NET_ACTIVE_WINDOW", False));
        XSync(x.X(), False);
    }
    Window Open(std::string wmClass, std::string instance, long pid, std::string machine = {}) {
        const Window w = XCreateSimpleWindow(x.X(), root, 0, 0, 9, 9, 0, 0, 0);
        XClassHint hint{instance.data(), wmClass.data()};
        XSetClassHint(x.X(), w, &hint);
        if (pid)
            Set(w, "_NET_WM_PID", XA_CARDINAL, pid);
        XChangeProperty(x.X(), w, XA_WM_CLIENT_MACHINE, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<unsigned char*>(machine.data()), machine.size());
        Set(root, "_NET_CLIENT_LIST", XA_WINDOW, w, PropModeAppend);
        return w;
    }
    void Activate(Window w) {
        Set(root, "_NET_ACTIVE_WINDOW", XA_WINDOW, w);
        XSync(x.X(), False);
    }
    void Set(Window w, const char* name, Atom type, long value, int mode = PropModeReplace) {
        XChangeProperty(x.X(), w, XInternAtom(x.X(), name, False), type, 32, mode,
                        reinterpret_cast<unsigned char*>(&value), 1);
    }

    XServer x;
    Window root = DefaultRootWindow(x.X());
};

} // namespace padwright::testing
