#pragma once
// The program in front on a wlroots compositor (sway, Hyprland, river, Wayfire, labwc): the
// zwlr_foreign_toplevel_manager_v1 protocol lists every toplevel window with its app_id and
// states, and tells of each change; the window with the "activated" state is the one in front.
// A connection of our own to the compositor, waited on through the event loop.
#include "platform/focus/ForegroundSourceBase.h"

#include <cstdint>
#include <list>
#include <memory>

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
    void TakeEvents();
    void ReportFront();
    void Lost(std::string why);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    std::list<Toplevel> toplevels_;
    std::uint64_t activations_ = 0;
    std::unique_ptr<IDescriptorWatch> watch_;
};

} // namespace padwright
