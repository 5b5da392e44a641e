#pragma once
// The X server's core keyboard map and its active group, read with libxkbcommon-x11 on a
// connection of its own, and followed: the server tells the connection of every map and group
// change (XKB new-keyboard, map and state notify), and Current() takes those notices in before
// a key is chosen, so nothing is polled and a switch is followed without a restart. XWayland
// mirrors the compositor's layout, so this serves Wayland desktops too.
#include "platform/inject/KeyboardLayout.h"

#include <memory>
#include <string>

struct xcb_connection_t;
struct xkb_context;

namespace padwright {

class X11Layout : public ILayoutSource {
public:
    // nullptr with `error` set when the display cannot be opened or lacks XKB.
    static std::unique_ptr<X11Layout> Open(const char* displayName, std::string& error);
    ~X11Layout() override;
    X11Layout(const X11Layout&) = delete;
    X11Layout& operator=(const X11Layout&) = delete;

    const LayoutKeys& Current() override;

private:
    X11Layout(xcb_connection_t* connection, xkb_context* context, std::int32_t device,
              std::uint8_t eventBase);
    bool Reload();

    xcb_connection_t* connection_;
    xkb_context* context_;
    std::int32_t device_;
    std::uint8_t eventBase_;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
    LayoutKeys keys_ = LayoutKeys::Us();
};

} // namespace padwright
