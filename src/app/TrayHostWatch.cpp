#include "app/TrayHostWatch.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

namespace padwright {

namespace {

const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");

xcb_connection_t* Connection(void* x) {
    return static_cast<xcb_connection_t*>(x);
}

xcb_atom_t Atom(xcb_connection_t* c, const std::string& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// Adds `mask` to what this connection hears from `window`, keeping what the toolkit selected.
void Listen(xcb_connection_t* c, xcb_window_t window, std::uint32_t mask) {
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
    if (!attributes)
        return;
    const std::uint32_t events = attributes->your_event_mask | mask;
    std::free(attributes);
    xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &events);
    xcb_flush(c);
}

} // namespace

TrayHostWatch::TrayHostWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)) {
    WatchSessionBus();
    WatchXDisplay();
}

TrayHostWatch::~TrayHostWatch() {
    if (x_)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void TrayHostWatch::WatchSessionBus() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    watcher_.setConnection(bus);
    watcher_.addWatchedService(Watcher);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayHostWatch::HostSignal);
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        bus.connect(Watcher, QStringLiteral("/StatusNotifierWatcher"), Watcher,
                    QString::fromLatin1(signal), this, SLOT(HostSignal()));
}

void TrayHostWatch::WatchXDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    x_ = c;
    // Screen 0, as the toolkit's own tray uses the primary screen and our displays have one.
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    selection_ = Atom(c, "_NET_SYSTEM_TRAY_S0");
    manager_ = Atom(c, "MANAGER");
    // A tray that takes the selection says so to every client listening on the root window.
    Listen(c, root_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
    QCoreApplication::instance()->installNativeEventFilter(this);
    FollowTrayOwner();
}

void TrayHostWatch::FollowTrayOwner() {
    xcb_connection_t* c = Connection(x_);
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection_), nullptr);
    owner_ = reply ? reply->owner : XCB_NONE;
    std::free(reply);
    if (owner_ != XCB_NONE)
        Listen(c, owner_, XCB_EVENT_MASK_STRUCTURE_NOTIFY);
}

bool TrayHostWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto* m = static_cast<const xcb_client_message_event_t*>(message);
        if (m->window == root_ && m->type == manager_ && m->data.data32[1] == selection_) {
            FollowTrayOwner();
            HostSignal();
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* d = static_cast<const xcb_destroy_notify_event_t*>(message);
        if (owner_ != XCB_NONE && d->window == owner_) {
            owner_ = XCB_NONE;
            HostSignal();
        }
        break;
    }
    default:
        break;
    }
    return false; // the toolkit sees them too
}

void TrayHostWatch::HostSignal() {
    if (changed_)
        changed_();
}

} // namespace padwright
