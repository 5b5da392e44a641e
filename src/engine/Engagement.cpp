#include "engine/Engagement.h"

#include "engine/SlotWalk.h"

namespace padwright {

bool AxisDirectionEngaged(std::int32_t magnitude, std::int32_t threshold) {
    return magnitude != 0 && magnitude >= threshold;
}

SlotSet EngagedSlots(const TJoystick& controller, const DIJOYSTATE2& state) {
    SlotSet set;
    ForEachEvaluatedSlot(controller, [&](const TSlotControl& control) {
        const std::int32_t value = ControlReading(state, control);
        if (control.IsAxisDirection() ? AxisDirectionEngaged(value, controller.Threshold)
                                      : value != 0)
            set.set(static_cast<std::size_t>(control.Slot));
    });
    return set;
}

SlotSet EvaluatedSlots(const TJoystick& controller) {
    SlotSet set;
    ForEachEvaluatedSlot(controller, [&](const TSlotControl& control) {
        set.set(static_cast<std::size_t>(control.Slot));
    });
    return set;
}

} // namespace padwright
