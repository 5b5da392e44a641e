#include "platform/inject/MouseEvents.h"

#include "platform/inject/Injector.h"

namespace padwright {

MouseEventParts DecodeMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                 std::int32_t data) {
    MouseEventParts parts;
    if (flags & MOUSEEVENTF_MOVE) {
        parts.dx = dx;
        parts.dy = dy;
    }
    auto add = [&parts](MouseButton button, bool down) {
        parts.buttons[static_cast<std::size_t>(parts.buttonCount++)] = {button, down};
    };
    const struct {
        std::uint32_t flag;
        MouseButton button;
        bool down;
    } plain[] = {
        {MOUSEEVENTF_LEFTDOWN, MouseButton::Left, true},
        {MOUSEEVENTF_LEFTUP, MouseButton::Left, false},
        {MOUSEEVENTF_RIGHTDOWN, MouseButton::Right, true},
        {MOUSEEVENTF_RIGHTUP, MouseButton::Right, false},
        {MOUSEEVENTF_MIDDLEDOWN, MouseButton::Middle, true},
        {MOUSEEVENTF_MIDDLEUP, MouseButton::Middle, false},
    };
    for (const auto& p : plain)
        if (flags & p.flag)
            add(p.button, p.down);
    // The X buttons and the wheel share the data word; Windows ignores a wheel flag given
    // together with an X-button flag, and so do we.
    const bool xButtons = flags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP);
    for (const bool down : {true, false}) {
        if (!(flags & (down ? MOUSEEVENTF_XDOWN : MOUSEEVENTF_XUP)))
            continue;
        if (data & XBUTTON1)
            add(MouseButton::Side, down);
        if (data & XBUTTON2)
            add(MouseButton::Extra, down);
    }
    if ((flags & MOUSEEVENTF_WHEEL) && !xButtons)
        parts.wheel = data;
    return parts;
}

std::int32_t WheelNotches::Add(std::int32_t delta) {
    const std::int64_t total = static_cast<std::int64_t>(rest_) + delta;
    const auto notches = static_cast<std::int32_t>(total / WHEEL_DELTA); // toward zero
    rest_ = static_cast<std::int32_t>(total - static_cast<std::int64_t>(notches) * WHEEL_DELTA);
    return notches;
}

} // namespace padwright
