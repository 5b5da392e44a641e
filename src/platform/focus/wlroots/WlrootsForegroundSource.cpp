#include "platform/focus/wlroots/WlrootsForegroundSource.h"

#include "platform/focus/ProgramIdentity.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace padwright {

namespace {

using Toplevel = WlrootsForegroundSource::Toplevel;

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

WlrootsForegroundSource::WlrootsForegroundSource(IEventLoop& loop, const char* displayName) {
    const char* named = displayName ? displayName : std::getenv("WAYLAND_DISPLAY");
    const std::string shown = named && *named ? named : "wayland-0";
    display_ = wl_display_connect(displayName);
    if (!display_) {
        SetUnavailable("No Wayland compositor answers at " + shown + ".");
        return;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &RegistryListener, this);
    // The first round trip brings the globals, the second the windows the manager lists.
    wl_display_roundtrip(display_);
    if (!manager_) {
        SetUnavailable("The Wayland compositor does not tell other programs which window is "
                       "active (it offers no wlr foreign toplevel management).");
        return;
    }
    wl_display_roundtrip(display_);
    ReportFront();
    watch_ = loop.Watch(wl_display_get_fd(display_), [this] { TakeEvents(); });
}

WlrootsForegroundSource::~WlrootsForegroundSource() {
    watch_.reset();
    if (!display_)
        return;
    for (Toplevel& toplevel : toplevels_)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    if (manager_) {
        zwlr_foreign_toplevel_manager_v1_stop(manager_);
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    }
    if (registry_)
        wl_registry_destroy(registry_);
    wl_display_flush(display_);
    wl_display_disconnect(display_);
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
    if (wl_display_get_error(display_) != 0)
        return Lost("The connection to the Wayland compositor was lost.");
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
