#include "engine/Engagement.h"

#include <algorithm>
#include <limits>

namespace padwright {

int HatDirection(DWORD reading) {
    if (reading % 4500 != 0 || reading > 31500)
        return -1;
    return static_cast<int>(reading / 4500);
}

int HatStride(std::int32_t povMax) {
    if (povMax == 3)
        return 2;
    if (povMax == 7)
        return 1;
    return 0;
}

bool AxisDirectionEngaged(std::int32_t magnitude, std::int32_t threshold) {
    return magnitude != 0 && magnitude >= threshold;
}

namespace {

void MarkAxis(SlotSet& set, int negativeSlot, std::int32_t value, std::int32_t threshold) {
    // The negative direction's magnitude saturates as the cycle's evaluation does.
    const std::int32_t negative = value < 0 ? (value == std::numeric_limits<std::int32_t>::min()
                                                   ? std::numeric_limits<std::int32_t>::max()
                                                   : -value)
                                            : 0;
    const std::int32_t positive = value > 0 ? value : 0;
    if (AxisDirectionEngaged(negative, threshold))
        set.set(static_cast<std::size_t>(negativeSlot));
    if (AxisDirectionEngaged(positive, threshold))
        set.set(static_cast<std::size_t>(negativeSlot + 1));
}

} // namespace

SlotSet EngagedSlots(const TJoystick& controller, const DIJOYSTATE2& state) {
    SlotSet set;
    const LONG axes[AxisCount] = {state.lX, state.lY, state.lZ, state.lRx, state.lRy, state.lRz};
    for (int a = 0; a < AxisCount; ++a)
        MarkAxis(set, AxisSlot(a, false), axes[a], controller.Threshold);

    const int sliders = std::clamp<std::int32_t>(controller.SliderCount, 0, MaxSliders);
    for (int s = 0; s < sliders; ++s)
        MarkAxis(set, SliderSlot(s, false), state.rglSlider[s], controller.Threshold);

    const int hats = std::clamp<std::int32_t>(controller.POVCount, 0, MaxHats);
    for (int h = 0; h < hats; ++h) {
        const int stride = HatStride(controller.POVMax[h]);
        const int selected = HatDirection(state.rgdwPOV[h]);
        if (stride != 0 && selected >= 0 && selected % stride == 0)
            set.set(static_cast<std::size_t>(HatSlot(h, selected)));
    }

    const int buttons = std::clamp<std::int32_t>(controller.ButtonCount, 0, MaxButtons);
    for (int b = 0; b < buttons; ++b)
        if (state.rgbButtons[b] & 0x80)
            set.set(static_cast<std::size_t>(ButtonSlot(b)));
    return set;
}

SlotSet EvaluatedSlots(const TJoystick& controller) {
    SlotSet set;
    for (int slot = 0; slot < FirstSliderSlot; ++slot)
        set.set(static_cast<std::size_t>(slot));
    const int sliders = std::clamp<std::int32_t>(controller.SliderCount, 0, MaxSliders);
    for (int slot = FirstSliderSlot; slot < SliderSlot(sliders, false); ++slot)
        set.set(static_cast<std::size_t>(slot));
    const int hats = std::clamp<std::int32_t>(controller.POVCount, 0, MaxHats);
    for (int h = 0; h < hats; ++h) {
        const int stride = HatStride(controller.POVMax[h]);
        for (int d = 0; stride != 0 && d < HatDirections; d += stride)
            set.set(static_cast<std::size_t>(HatSlot(h, d)));
    }
    const int buttons = std::clamp<std::int32_t>(controller.ButtonCount, 0, MaxButtons);
    for (int b = 0; b < buttons; ++b)
        set.set(static_cast<std::size_t>(ButtonSlot(b)));
    return set;
}

} // namespace padwright
