#include "platform/dinput/Classification.h"

namespace padwright {

namespace {

bool HasKeyInRange(const EvdevDescription& d, unsigned first, unsigned last) {
    for (unsigned code = first; code <= last; ++code)
        if (d.HasKey(code))
            return true;
    return false;
}

// Touch surfaces and pens announce themselves with touch or tool buttons.
bool IsTouchOrTablet(const EvdevDescription& d) {
    // BTN_TOOL_PEN..BTN_TOOL_QUADTAP takes in BTN_TOUCH and the stylus buttons as well.
    return HasKeyInRange(d, BTN_TOOL_PEN, BTN_TOOL_QUADTAP) || d.HasProperty(INPUT_PROP_POINTER) ||
           d.HasProperty(INPUT_PROP_BUTTONPAD);
}

bool IsMouse(const EvdevDescription& d) {
    return d.HasRel(REL_X) && d.HasRel(REL_Y) && d.HasKey(BTN_LEFT);
}

} // namespace

bool IsGameController(const EvdevDescription& d) {
    if (d.HasProperty(INPUT_PROP_ACCELEROMETER) || IsTouchOrTablet(d) || IsMouse(d))
        return false;
    const bool joystickButtons =
        HasKeyInRange(d, BTN_JOYSTICK, BTN_JOYSTICK + 0x1f) || HasKeyInRange(d, 0x2c0, 0x2ff);
    const bool absoluteXY = d.HasAbs(ABS_X) && d.HasAbs(ABS_Y);
    // A keyboard has neither, so it falls out here too.
    return joystickButtons || absoluteXY;
}

} // namespace padwright
