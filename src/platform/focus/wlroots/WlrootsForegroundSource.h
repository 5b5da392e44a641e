#pragma once
// The program in front on a wlroots compositor (sway, Hyprland, river, Wayfire, labwc): the
// zwlr_foreign_toplevel_manager_v1 protocol lists every toplevel window with its app_id and
// states, and tells of each change; the window with the "activated" state is the one in front.
// A connection of our own to the compositor, waited on through the event loop. When the
// compositor goes, the source waits for its socket to be made again (a restarted compositor,
// inotify on the socket's folder: nothing wakes meanwhile) and follows the new one.
#include "platform/focus/ForegroundSourceBase.h"

#include <cstdint>
#include <list>
#include <memory>
#include <string>

struct wl_display;
struct wl_registry;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_handle_v1;

namespace padwright {

class WlrootsForegroundSource final : public ForegroundSourceBase {
public:
    // `displayName` nullptr means $WAYLAND_DISPLAY. Not Available() when no compositor answers
    // there or it does not offer the protocol.
    WlrootsForegroundSource(IEventLoop& loop, const char* displayName);
    ~WlrootsForegroundSource() override;
    WlrootsForegroundSource(const WlrootsForegroundSource&) = delete;
    WlrootsForegroundSource& operator=(const WlrootsForegroundSource&) = delete;

    std::string Kind() const override { return "wlroots"; }
    std::vector<ForegroundProgram> OpenWindows() const override;

    // What the compositor told of one window; changes count once its "done" arrives.
    struct Toplevel {
        WlrootsForegroundSource* source = nullptr;
        zwlr_foreign_toplevel_handle_v1* handle = nullptr;
        std::string appId, pendingAppId;
        bool pendingActivated = false;
        std::uint64_t activatedAt = 0; // when it last became active; 0 while it is not
    };
    // The protocol's events, called from its listeners.
    void Added(zwlr_foreign_toplevel_handle_v1* handle);
    void Done(Toplevel& toplevel);
    void Closed(Toplevel& toplevel);
    void Finished();
    void Global(wl_registry* registry, std::uint32_t name, const char* interface,
                std::uint32_t version);

private:
    // Connects to the compositor and takes in its windows; false, and why, when it cannot.
    bool Connect();
    void Disconnect();
    void TakeEvents();
    void ReportFront();
    void Lost(std::string why);
    // The connection is gone: waits for the compositor's socket to be made again.
    void AwaitCompositor();
    void SocketMade();
    void Reconnect();

    IEventLoop& loop_;
    std::string name_;            // as given; "" for $WAYLAND_DISPLAY
    std::string shown_;           // the display's name as messages show it
    std::string folder_, socket_; // where the compositor's socket is made, and its name
    int inotify_ = -1;
    std::unique_ptr<IDescriptorWatch> socketWatch_;
    std::unique_ptr<ITimer> retry_;
    int tries_ = 0;
    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    std::list<Toplevel> toplevels_;
    std::uint64_t activations_ = 0;
    std::unique_ptr<IDescriptorWatch> watch_;
};

} // namespace padwright
