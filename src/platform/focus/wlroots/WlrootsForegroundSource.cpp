#include "platform/focus/wlroots/WlrootsForegroundSource.h"

#include "platform/focus/ProgramIdentity.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace padwright {

namespace {

using Toplevel = WlrootsForegroundSource::Toplevel;

// A restarted compositor's socket is tried this often, this far apart, until it answers.
constexpr int RetryMs = 100;
constexpr int RetryCount = 20;

// Version 3 adds only the parent event, which we do not need, but binding it costs nothing.
constexpr std::uint32_t ManagerVersion = 3;
constexpr std::uint32_t ActivatedState = ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;

Toplevel& Of(void* data) {
    return *static_cast<Toplevel*>(data);
}

const zwlr_foreign_toplevel_handle_v1_listener ToplevelListener = {
    .title = [](void*, zwlr_foreign_toplevel_handle_v1*, const char*) {},
    .app_id = [](void* data, zwlr_foreign_toplevel_handle_v1*,
                 const char* appId) { Of(data).pendingAppId = appId ? appId : ""; },
    .output_enter = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .output_leave = [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
    .state =
        [](void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
            const auto* first = static_cast<const std::uint32_t*>(states->data);
            const auto* last = first + states->size / sizeof(std::uint32_t);
            Of(data).pendingActivated = std::find(first, last, ActivatedState) != last;
        },
    .done = [](void* data, zwlr_foreign_toplevel_handle_v1*) { Of(data).source->Done(Of(data)); },
    .closed = [](void* data,
                 zwlr_foreign_toplevel_handle_v1*) { Of(data).source->Closed(Of(data)); },
    .parent = [](void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {},
};

WlrootsForegroundSource& Source(void* data) {
    return *static_cast<WlrootsForegroundSource*>(data);
}

const zwlr_foreign_toplevel_manager_v1_listener ManagerListener = {
    .toplevel = [](void* data, zwlr_foreign_toplevel_manager_v1*,
                   zwlr_foreign_toplevel_handle_v1* handle) { Source(data).Added(handle); },
    .finished = [](void* data, zwlr_foreign_toplevel_manager_v1*) { Source(data).Finished(); },
};

const wl_registry_listener RegistryListener = {
    .global =
        [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
           std::uint32_t version) { Source(data).Global(registry, name, interface, version); },
    .global_remove = [](void*, wl_registry*, std::uint32_t) {},
};

} // namespace

WlrootsForegroundSource::WlrootsForegroundSource(IEventLoop& loop, const char* displayName)
    : loop_(loop), name_(displayName ? displayName : "") {
    const char* named = displayName ? displayName : std::getenv("WAYLAND_DISPLAY");
    shown_ = named && *named ? named : "wayland-0";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string path =
        shown_.starts_with('/') ? shown_ : std::string(runtime ? runtime : "") + '/' + shown_;
    if (path.starts_with('/')) {
        folder_ = path.substr(0, path.rfind('/'));
        socket_ = path.substr(path.rfind('/') + 1);
    }
    // The compositor may make its socket before it listens on it.
    retry_ = loop.CreateTimer(RetryMs, TimerMode::SingleShot, [this] { Reconnect(); });
    Connect();
}

WlrootsForegroundSource::~WlrootsForegroundSource() {
    socketWatch_.reset();
    if (inotify_ >= 0)
        close(inotify_);
    Disconnect();
}

bool WlrootsForegroundSource::Connect() {
    display_ = wl_display_connect(name_.empty() ? nullptr : name_.c_str());
    if (!display_) {
        SetUnavailable("No Wayland compositor answers at " + shown_ + ".");
        return false;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &RegistryListener, this);
    // The first round trip brings the globals, the second the windows the manager lists.
    wl_display_roundtrip(display_);
    if (!manager_) {
        SetUnavailable("The Wayland compositor does not tell other programs which window is "
                       "active (it offers no wlr foreign toplevel management).");
        return true;
    }
    wl_display_roundtrip(display_);
    SetAvailable();
    ReportFront();
    watch_ = loop_.Watch(wl_display_get_fd(display_), [this] { TakeEvents(); });
    return true;
}

void WlrootsForegroundSource::Disconnect() {
    watch_.reset();
    if (!display_)
        return;
    for (Toplevel& toplevel : toplevels_)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    toplevels_.clear();
    if (manager_) {
        zwlr_foreign_toplevel_manager_v1_stop(manager_);
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
        manager_ = nullptr;
    }
    if (registry_)
        wl_registry_destroy(registry_);
    registry_ = nullptr;
    wl_display_flush(display_);
    wl_display_disconnect(display_);
    display_ = nullptr;
}

void WlrootsForegroundSource::AwaitCompositor() {
    if (folder_.empty() || inotify_ >= 0)
        return;
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0)
        return;
    if (inotify_add_watch(inotify_, folder_.c_str(), IN_CREATE | IN_MOVED_TO) < 0) {
        close(inotify_);
        inotify_ = -1;
        return;
    }
    socketWatch_ = loop_.Watch(inotify_, [this] { SocketMade(); });
}

void WlrootsForegroundSource::SocketMade() {
    alignas(inotify_event) char buffer[4096];
    bool ours = false;
    for (ssize_t length; (length = read(inotify_, buffer, sizeof buffer)) > 0;)
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            ours |= event->len > 0 && socket_ == event->name;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    if (ours) {
        tries_ = 0;
        Reconnect();
    }
}

void WlrootsForegroundSource::Reconnect() {
    Disconnect();
    if (!Connect()) {
        if (++tries_ < RetryCount)
            retry_->Start();
        return;
    }
    retry_->Stop();
    socketWatch_.reset();
    close(inotify_);
    inotify_ = -1;
}

void WlrootsForegroundSource::Global(wl_registry* registry, std::uint32_t name,
                                     const char* interface, std::uint32_t version) {
    if (manager_ || std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0)
        return;
    manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                         std::min(version, ManagerVersion)));
    zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &ManagerListener, this);
}

void WlrootsForegroundSource::Added(zwlr_foreign_toplevel_handle_v1* handle) {
    Toplevel& toplevel = toplevels_.emplace_back();
    toplevel.source = this;
    toplevel.handle = handle;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &ToplevelListener, &toplevel);
}

void WlrootsForegroundSource::Done(Toplevel& toplevel) {
    toplevel.appId = toplevel.pendingAppId;
    if (!toplevel.pendingActivated)
        toplevel.activatedAt = 0;
    else if (toplevel.activatedAt == 0)
        toplevel.activatedAt = ++activations_;
}

void WlrootsForegroundSource::Closed(Toplevel& toplevel) {
    zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    toplevels_.remove_if([&](const Toplevel& t) { return &t == &toplevel; });
}

void WlrootsForegroundSource::Finished() {
    zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    manager_ = nullptr;
    Lost("The Wayland compositor stopped listing its windows.");
}

void WlrootsForegroundSource::TakeEvents() {
    // Reading on a readable descriptor does not block; "nothing there after all" is no error.
    if (wl_display_prepare_read(display_) == 0)
        wl_display_read_events(display_);
    wl_display_dispatch_pending(display_);
    wl_display_flush(display_); // the handles of closed windows are destroyed
    if (wl_display_get_error(display_) != 0) {
        Lost("The connection to the Wayland compositor was lost.");
        return AwaitCompositor();
    }
    // Everything that arrived together is taken in before the program in front is judged: a
    // compositor tells of the old window's deactivation and the new one's activation apart.
    ReportFront();
}

void WlrootsForegroundSource::ReportFront() {
    const Toplevel* front = nullptr;
    for (const Toplevel& toplevel : toplevels_)
        if (toplevel.activatedAt != 0 && (!front || toplevel.activatedAt > front->activatedAt))
            front = &toplevel;
    Report(front ? IdentifyProgram({{}, {}, front->appId}) : ForegroundProgram{});
}

std::vector<ForegroundProgram> WlrootsForegroundSource::OpenWindows() const {
    std::vector<WindowFacts> windows;
    for (const Toplevel& toplevel : toplevels_)
        windows.push_back({{}, {}, toplevel.appId});
    return DistinctPrograms(windows);
}

void WlrootsForegroundSource::Lost(std::string why) {
    watch_.reset();
    SetUnavailable(std::move(why));
    Report({});
}

} // namespace padwright
