#include "platform/focus/x11/X11ForegroundSource.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace padwright {

namespace {

// A reply that frees itself.
template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <typename T> Reply<T> Take(T* reply) {
    return Reply<T>(reply, &std::free);
}

std::uint32_t InternAtom(xcb_connection_t* connection, const char* name) {
    auto reply = Take(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : std::uint32_t{XCB_ATOM_NONE};
}

xcb_get_property_cookie_t AskProperty(xcb_connection_t* connection, xcb_window_t window,
                                      xcb_atom_t property, xcb_atom_t type, std::uint32_t words) {
    return xcb_get_property(connection, 0, window, property, type, 0, words);
}

// The property's bytes; empty when it is missing or not of the type asked for.
std::string PropertyBytes(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    auto reply = Take(xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(data, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::uint32_t PropertyWord(xcb_connection_t* connection, xcb_get_property_cookie_t cookie) {
    const std::string bytes = PropertyBytes(connection, cookie);
    std::uint32_t word = 0;
    if (bytes.size() >= sizeof word)
        std::memcpy(&word, bytes.data(), sizeof word);
    return word;
}

// The n-th of the NUL-separated strings in a property such as WM_CLASS.
std::string Part(const std::string& bytes, std::size_t n) {
    std::size_t start = 0;
    for (; n > 0; --n) {
        start = bytes.find('\0', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return std::string(bytes.c_str() + std::min(start, bytes.size()));
}

std::string HostName() {
    char name[256] = {};
    gethostname(name, sizeof name - 1);
    return name;
}

} // namespace

X11ForegroundSource::X11ForegroundSource(IEventLoop& loop, const char* displayName) {
    const char* shown = displayName ? displayName : std::getenv("DISPLAY");
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection_)) {
        SetUnavailable(shown && *shown
                           ? std::string("The X display ") + shown + " cannot be opened."
                           : std::string("There is no X display."));
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (; screenNumber > 0 && screens.rem > 1; --screenNumber)
        xcb_screen_next(&screens);
    root_ = screens.data->root;
    activeAtom_ = InternAtom(connection_, "_NET_ACTIVE_WINDOW");
    clientListAtom_ = InternAtom(connection_, "_NET_CLIENT_LIST");
    pidAtom_ = InternAtom(connection_, "_NET_WM_PID");
    supportedAtom_ = InternAtom(connection_, "_NET_SUPPORTED");
    hostName_ = HostName();
    // Only the root's property changes wake us; selecting before the first read means no change
    // between the two is missed.
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    ReadSupport();
    ReadActiveWindow();
    watch_ = loop.Watch(xcb_get_file_descriptor(connection_), [this] { TakeEvents(); });
    // The round trips of OpenWindows() may queue events too: taken in once the caller is done.
    queued_ = loop.CreateTimer(0, TimerMode::SingleShot, [this] { TakeEvents(); });
    TakeEvents();
}

X11ForegroundSource::~X11ForegroundSource() {
    watch_.reset();
    queued_.reset();
    if (connection_)
        xcb_disconnect(connection_);
}

void X11ForegroundSource::TakeEvents() {
    // Reading the window's properties may queue more events without leaving the descriptor
    // readable, so the queue is emptied again after each read.
    for (;;) {
        bool activeChanged = false, supportChanged = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
                activeChanged |= notify->window == root_ && notify->atom == activeAtom_;
                supportChanged |= notify->window == root_ && notify->atom == supportedAtom_;
            }
            std::free(event);
        }
        if (xcb_connection_has_error(connection_))
            return Lost();
        if (supportChanged) // a window manager started or was replaced
            ReadSupport();
        if (!activeChanged)
            return;
        // Several changes read at once give one report, of where the focus ended.
        ReadActiveWindow();
    }
}

void X11ForegroundSource::ReadSupport() {
    const std::string atoms = PropertyBytes(
        connection_, AskProperty(connection_, root_, supportedAtom_, XCB_ATOM_ATOM, 1024));
    for (std::size_t at = 0; at + 4 <= atoms.size(); at += 4)
        if (std::memcmp(atoms.data() + at, &activeAtom_, 4) == 0)
            return SetAvailable();
    SetUnavailable("The window manager does not say which window is active (it does not "
                   "support _NET_ACTIVE_WINDOW).");
}

void X11ForegroundSource::ReadActiveWindow() {
    const std::uint32_t window =
        PropertyWord(connection_, AskProperty(connection_, root_, activeAtom_, XCB_ATOM_WINDOW, 1));
    Report(window == XCB_WINDOW_NONE ? ForegroundProgram{} : IdentifyProgram(FactsOf(window)));
}

WindowFacts X11ForegroundSource::FactsOf(std::uint32_t window) const {
    // Every question goes out before the first answer is awaited: one round trip.
    const auto wmClass = AskProperty(connection_, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 256);
    const auto pid = AskProperty(connection_, window, pidAtom_, XCB_ATOM_CARDINAL, 1);
    const auto machine =
        AskProperty(connection_, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 64);
    const std::string classBytes = PropertyBytes(connection_, wmClass);
    WindowFacts facts{Part(classBytes, 1), Part(classBytes, 0), {}, PropertyWord(connection_, pid)};
    // A process id names a process on the client's machine, which may not be this one.
    const std::string clientMachine = Part(PropertyBytes(connection_, machine), 0);
    if (!clientMachine.empty() && clientMachine != hostName_)
        facts.pid = 0;
    return facts;
}

std::vector<ForegroundProgram> X11ForegroundSource::OpenWindows() const {
    if (xcb_connection_has_error(connection_))
        return {};
    const std::string list = PropertyBytes(
        connection_, AskProperty(connection_, root_, clientListAtom_, XCB_ATOM_WINDOW, 4096));
    std::vector<WindowFacts> windows;
    for (std::size_t at = 0; at + 4 <= list.size(); at += 4) {
        std::uint32_t window;
        std::memcpy(&window, list.data() + at, sizeof window);
        windows.push_back(FactsOf(window));
    }
    queued_->Start();
    return DistinctPrograms(windows);
}

void X11ForegroundSource::Lost() {
    watch_.reset();
    SetUnavailable("The connection to the X server was lost.");
    Report({});
}

} // namespace padwright
