#include "platform/inject/X11Layout.h"

#include "platform/inject/XDisplayName.h"

#include <xcb/xcb.h>
// xcb's XKB header names a struct member "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>

namespace padwright {

namespace {

bool SelectLayoutNotices(xcb_connection_t* connection, std::int32_t device) {
    constexpr std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                     XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                     XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr std::uint16_t mapParts =
        XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
        XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
        XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    // Only the group matters here; modifier changes would wake the connection for nothing.
    constexpr std::uint16_t groupParts = XCB_XKB_STATE_PART_GROUP_BASE |
                                         XCB_XKB_STATE_PART_GROUP_LATCH |
                                         XCB_XKB_STATE_PART_GROUP_LOCK;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = groupParts;
    details.stateDetails = groupParts;
    const xcb_void_cookie_t cookie =
        xcb_xkb_select_events_aux_checked(connection, static_cast<xcb_xkb_device_spec_t>(device),
                                          events, 0, 0, mapParts, mapParts, &details);
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    std::free(error);
    return error == nullptr;
}

// The part common to every XKB event, which says which kind it is.
struct XkbEventHead {
    std::uint8_t response_type;
    std::uint8_t xkbType;
    std::uint16_t sequence;
    xcb_timestamp_t time;
    std::uint8_t deviceID;
};

} // namespace

std::unique_ptr<X11Layout> X11Layout::Open(const char* displayName, std::string& error) {
    const char* shown = ChosenDisplay(displayName);
    xcb_connection_t* connection = xcb_connect(displayName, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        error = CannotOpenDisplayText(displayName);
        return nullptr;
    }
    std::uint8_t eventBase = 0;
    std::int32_t device = -1;
    xkb_context* context = nullptr;
    if (xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase, nullptr) == 1)
        device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device >= 0 && SelectLayoutNotices(connection, device))
        context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context) {
        xcb_disconnect(connection);
        error = std::string("X display ") + (shown ? shown : "") + " has no usable XKB extension";
        return nullptr;
    }
    std::unique_ptr<X11Layout> layout(new X11Layout(connection, context, device, eventBase));
    if (!layout->Reload()) {
        error = std::string("cannot read the keyboard map of X display ") + (shown ? shown : "");
        return nullptr;
    }
    return layout;
}

X11Layout::X11Layout(xcb_connection_t* connection, xkb_context* context, std::int32_t device,
                     std::uint8_t eventBase)
    : connection_(connection), context_(context), device_(device), eventBase_(eventBase) {}

X11Layout::~X11Layout() {
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
    xcb_disconnect(connection_);
}

bool X11Layout::Reload() {
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context_, connection_, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_state* state =
        keymap ? xkb_x11_state_new_from_device(keymap, connection_, device_) : nullptr;
    if (!state) {
        xkb_keymap_unref(keymap);
        return false; // the previous map stays: better than none
    }
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = state;
    keys_ = LayoutKeys::Of(keymap_, state_);
    return true;
}

const LayoutKeys& X11Layout::Current() {
    bool reload = false, regroup = false;
    // Only what the server already sent is read; nothing waits.
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == eventBase_) {
            const auto* head = reinterpret_cast<const XkbEventHead*>(event);
            if (head->deviceID == device_) {
                if (head->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY ||
                    head->xkbType == XCB_XKB_MAP_NOTIFY) {
                    reload = true;
                } else if (head->xkbType == XCB_XKB_STATE_NOTIFY) {
                    const auto* s = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
                    xkb_state_update_mask(state_, s->baseMods, s->latchedMods, s->lockedMods,
                                          static_cast<xkb_layout_index_t>(s->baseGroup),
                                          static_cast<xkb_layout_index_t>(s->latchedGroup),
                                          static_cast<xkb_layout_index_t>(s->lockedGroup));
                    regroup = true;
                }
            }
        }
        std::free(event);
    }
    // A reload reads the group afresh, so it covers a group change that came with it.
    if (reload)
        Reload();
    else if (regroup)
        keys_ = LayoutKeys::Of(keymap_, state_);
    return keys_;
}

} // namespace padwright
