#pragma once
// mouse_event's flags and data taken apart into what every injector sends, in Windows' order:
// motion, then button changes in flag-bit order, then the wheel.
#include "platform/inject/KeyTables.h"

#include <array>
#include <cstdint>

namespace padwright {

constexpr std::int32_t XBUTTON1 = 0x0001;
constexpr std::int32_t XBUTTON2 = 0x0002;
constexpr std::int32_t WHEEL_DELTA = 120;

struct ButtonChange {
    MouseButton button;
    bool down;
};

struct MouseEventParts {
    std::int32_t dx = 0, dy = 0;            // 0 without MOUSEEVENTF_MOVE
    std::array<ButtonChange, 10> buttons{}; // six plain changes, four of the X buttons
    int buttonCount = 0;
    std::int32_t wheel = 0; // the wheel delta, 0 without MOUSEEVENTF_WHEEL
};

MouseEventParts DecodeMouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                 std::int32_t data);

// Turns wheel deltas into whole notches, keeping what is left of a partial notch for the next
// delta so that many small deltas add up to the same notches as one large one. Positive notches
// turn away from the user.
class WheelNotches {
public:
    std::int32_t Add(std::int32_t delta);

private:
    std::int32_t rest_ = 0;
};

} // namespace padwright
