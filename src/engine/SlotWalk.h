#pragma once
// The one walk over the control slots the data-collection cycle evaluates for a controller: every
// axis direction, both directions of each slider it has, the directions of its evaluated hats and
// its buttons, in slot order. The cycle's reading, the live marks, the repeat tick and the
// settings panel's rows all follow it, so they cannot disagree about which slots a controller has.
#include "engine/Records.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace padwright {

enum class TControlKind : std::uint8_t { Axis, Slider, Hat, Button };

// One slot of the walk and the control it belongs to.
struct TSlotControl {
    int Slot;
    TControlKind Kind;
    int Object;    // axis 0..5 (X..Rz), slider 0..1, hat 0..3, button 0..127
    int Direction; // axes and sliders 0 for "-" and 1 for "+", hats 0..7 (0 = up, clockwise)

    // Axis and slider directions are engaged by their magnitude against the threshold.
    bool IsAxisDirection() const {
        return Kind == TControlKind::Axis || Kind == TControlKind::Slider;
    }
};

// The step between the directions a hat is evaluated on: 2 for four-way (POVMax 3), 1 for
// eight-way (POVMax 7), 0 for a hat that is not evaluated.
constexpr int HatStride(std::int32_t povMax) {
    return povMax == 3 ? 2 : povMax == 7 ? 1 : 0;
}

// Calls visit(TSlotControl) for each slot the cycle evaluates for `controller`. Object counts as
// stored can exceed what the records hold (a damaged setting): the walk never goes past them.
template <class Visit> void ForEachEvaluatedSlot(const TJoystick& controller, Visit&& visit) {
    for (int a = 0; a < AxisCount; ++a) {
        visit(TSlotControl{AxisSlot(a, false), TControlKind::Axis, a, 0});
        visit(TSlotControl{AxisSlot(a, true), TControlKind::Axis, a, 1});
    }
    const int sliders = std::clamp<std::int32_t>(controller.SliderCount, 0, MaxSliders);
    for (int s = 0; s < sliders; ++s) {
        visit(TSlotControl{SliderSlot(s, false), TControlKind::Slider, s, 0});
        visit(TSlotControl{SliderSlot(s, true), TControlKind::Slider, s, 1});
    }
    const int hats = std::clamp<std::int32_t>(controller.POVCount, 0, MaxHats);
    for (int h = 0; h < hats; ++h) {
        const int stride = HatStride(controller.POVMax[static_cast<std::size_t>(h)]);
        for (int d = 0; stride != 0 && d < HatDirections; d += stride)
            visit(TSlotControl{HatSlot(h, d), TControlKind::Hat, h, d});
    }
    const int buttons = std::clamp<std::int32_t>(controller.ButtonCount, 0, MaxButtons);
    for (int b = 0; b < buttons; ++b)
        visit(TSlotControl{ButtonSlot(b), TControlKind::Button, b, 0});
}

// What `state` gives the control of a slot: an axis or slider direction's magnitude (the "-"
// direction's saturating at the largest 32-bit value), 1 for the direction a hat reads (only the
// eight exact angles count) and for a pressed button, otherwise 0.
inline std::int32_t ControlReading(const DIJOYSTATE2& state, const TSlotControl& control) {
    static constexpr LONG DIJOYSTATE2::*Axes[AxisCount] = {&DIJOYSTATE2::lX,  &DIJOYSTATE2::lY,
                                                           &DIJOYSTATE2::lZ,  &DIJOYSTATE2::lRx,
                                                           &DIJOYSTATE2::lRy, &DIJOYSTATE2::lRz};
    LONG value;
    switch (control.Kind) {
    case TControlKind::Axis:
        value = state.*Axes[control.Object];
        break;
    case TControlKind::Slider:
        value = state.rglSlider[control.Object];
        break;
    case TControlKind::Hat: {
        const DWORD angle = static_cast<DWORD>(4500 * control.Direction);
        return state.rgdwPOV[control.Object] == angle ? 1 : 0;
    }
    case TControlKind::Button:
    default:
        return (state.rgbButtons[control.Object] & 0x80) ? 1 : 0;
    }
    if (control.Direction == 1)
        return value > 0 ? value : 0;
    if (value >= 0)
        return 0;
    return value == std::numeric_limits<std::int32_t>::min()
               ? std::numeric_limits<std::int32_t>::max()
               : -value;
}

} // namespace padwright
