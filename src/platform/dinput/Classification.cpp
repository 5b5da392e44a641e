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

// The digit row and the letters of the main block: no controller has all of a keyboard's
// typing keys, and a keyboard's extra axes (a volume wheel, a joystick nub) do not make it one.
bool IsKeyboard(const EvdevDescription& d) {
    return HasKeyInRange(d, KEY_1, KEY_0) && d.HasKey(KEY_Q) && d.HasKey(KEY_A) && d.HasKey(KEY_Z);
}

// One axis is enough: a pedal box has only gas and brake.
bool HasControllerAxis(const EvdevDescription& d) {
    for (unsigned code = ABS_X; code <= ABS_RZ; ++code)
        if (d.HasAbs(code))
            return true;
    for (unsigned code = ABS_THROTTLE; code <= ABS_BRAKE; ++code)
        if (d.HasAbs(code))
            return true;
    return false;
}

} // namespace

bool IsGameController(const EvdevDescription& d) {
    if (d.HasProperty(INPUT_PROP_ACCELEROMETER) || IsTouchOrTablet(d) || IsMouse(d))
        return false;
    const bool joystickButtons =
        HasKeyInRange(d, BTN_JOYSTICK, BTN_JOYSTICK + 0x1f) || HasKeyInRange(d, 0x2c0, 0x2ff);
    return joystickButtons || (HasControllerAxis(d) && !IsKeyboard(d));
}

} // namespace padwright
