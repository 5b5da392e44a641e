#include "XSession.h"

#include "Spawn.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright::testing {

namespace {

std::vector<XID> TopLevels(Display* x) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<XID> out;
    if (XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count)) {
        out.assign(children, children + count);
        XFree(children);
    }
    return out;
}

std::string WindowName(Display* x, XID window) {
    char* name = nullptr;
    std::string out;
    if (XFetchName(x, window, &name) && name) {
        out = name;
        XFree(name);
    }
    return out;
}

// Qt's client-leader window carries the program's name too but is no window of the program's
// own; those have a WM_CLASS.
bool HasClass(Display* x, XID window) {
    XClassHint hint{};
    if (!XGetClassHint(x, window, &hint))
        return false;
    XFree(hint.res_name);
    XFree(hint.res_class);
    return true;
}

std::optional<pid_t> WindowPid(Display* x, XID window) {
    const Atom pidAtom = XInternAtom(x, "_NET_WM_PID", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<pid_t> out;
    if (XGetWindowProperty(x, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items,
                           &after, &data) == Success &&
        data) {
        if (items == 1 && format == 32)
            out = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return out;
}

// Windows come and go while the tests look at them (a tray embeds and destroys its icons, the
// program maps and unmaps): a query that names a window gone since is an answer, "not there",
// not a reason for Xlib's default handler to end the test process.
int IgnoreVanishedWindows(Display*, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable ||
        error->error_code == BadMatch)
        return 0;
    std::fprintf(stderr, "X error %d (request %d)\n", error->error_code, error->request_code);
    return 0;
}

void CollectWindows(Display* x, XID window, std::vector<XID>& out) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(x, window, &root, &parent, &children, &count))
        return;
    for (unsigned i = 0; i < count; ++i) {
        out.push_back(children[i]);
        CollectWindows(x, children[i], out);
    }
    if (children)
        XFree(children);
}

} // namespace

Child::Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& workdir, bool quiet) {
    char templ[] = "/tmp/padwright-child-XXXXXX";
    const int errFd = mkstemp(templ);
    if (errFd < 0)
        throw std::runtime_error("mkstemp failed");
    stderrPath_ = templ;
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    SpawnOptions options;
    options.env = env;
    options.workdir = workdir;
    options.in = devNull;
    options.out = quiet ? devNull : -1;
    options.err = errFd;
    try {
        pid_ = Spawn(argv, options);
    } catch (...) {
        close(devNull);
        close(errFd);
        throw;
    }
    close(devNull);
    close(errFd);
}

Child::~Child() {
    if (Running()) {
        kill(pid_, SIGKILL);
        Wait(Millis(5000));
    }
    unlink(stderrPath_.c_str());
}

bool Child::Running() {
    if (status_)
        return false;
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        return false;
    }
    return r == 0;
}

std::optional<int> Child::Wait(Millis timeout) {
    WaitUntil([&] { return !Running(); }, timeout);
    return status_;
}

void Child::Signal(int signal) {
    if (Running())
        kill(pid_, signal);
}

std::string Child::Stderr() const {
    std::ifstream in(stderrPath_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

XServer::XServer() : name_(server_.display()) {
    XSetErrorHandler(IgnoreVanishedWindows);
    display_ = XOpenDisplay(name_.c_str());
    if (!display_)
        throw std::runtime_error("cannot connect to " + name_);
}

XServer::~XServer() {
    XCloseDisplay(display_);
}

std::optional<XID> XServer::FindWindow(const std::string& title, bool viewableOnly) const {
    for (XID w : TopLevels(display_))
        if (WindowName(display_, w) == title && HasClass(display_, w) &&
            (!viewableOnly || Viewable(w)))
            return w;
    return std::nullopt;
}

bool XServer::Viewable(XID window) const {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display_, window, &attributes) &&
           attributes.map_state == IsViewable;
}

void XServer::Close(XID window) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
}

void XServer::WatchMaps() const {
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, True); // drop what happened before
}

bool XServer::WaitForMap(const std::string& title, Clock::time_point deadline) const {
    for (;;) {
        while (XPending(display_)) {
            XEvent event{};
            XNextEvent(display_, &event);
            if (event.type == MapNotify && WindowName(display_, event.xmap.window) == title)
                return true;
        }
        const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fd{ConnectionNumber(display_), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

bool XServer::HasTrayHost() const {
    const Atom selection = XInternAtom(display_, "_NET_SYSTEM_TRAY_S0", False);
    return XGetSelectionOwner(display_, selection) != None;
}

bool XServer::HasEmbeddedWindowOf(pid_t pid) const {
    std::vector<XID> all;
    CollectWindows(display_, DefaultRootWindow(display_), all);
    const std::vector<XID> tops = TopLevels(display_);
    for (XID w : all) {
        const bool topLevel = std::find(tops.begin(), tops.end(), w) != tops.end();
        if (!topLevel && WindowPid(display_, w) == pid)
            return true;
    }
    return false;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

Sandbox::Sandbox() {
    char templ[] = "/tmp/padwright-run-XXXXXX";
    if (!mkdtemp(templ))
        throw std::runtime_error("mkdtemp failed");
    root_ = templ;
    for (const std::string& dir : {Config(), Runtime(), Work(), root_ + "/home"})
        std::filesystem::create_directories(dir);
    chmod(Runtime().c_str(), 0700);
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::map<std::string, std::string> Sandbox::Environment(const XServer& x) const {
    return {
        {"DISPLAY", x.Name()},
        {"WAYLAND_DISPLAY", ""},
        {"QT_QPA_PLATFORM", "xcb"},
        {"XDG_CONFIG_HOME", Config()},
        {"XDG_RUNTIME_DIR", Runtime()},
        {"XDG_CACHE_HOME", root_ + "/home/.cache"},
        {"HOME", root_ + "/home"},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + root_ + "/no-bus"},
    };
}

} // namespace padwright::testing
