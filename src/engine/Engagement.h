#pragma once
// Which controls of a controller a reading engages: what the live marks show and what keeps the
// reader awake. Independent of the functions mapped to the slots.
#include "engine/Records.h"
#include "platform/dinput/DirectInput.h"

#include <cstdint>

namespace padwright {

// An axis value engages its direction when it is non-zero and at or past the threshold.
bool AxisDirectionEngaged(std::int32_t magnitude, std::int32_t threshold);

// The slots whose control `state` engages: axis and slider directions at or past the
// controller's threshold, the held direction of each evaluated hat, pressed buttons, all within
// the controller's object counts.
SlotSet EngagedSlots(const TJoystick& controller, const DIJOYSTATE2& state);

// The slots the cycle evaluates for `controller` whatever it reads: every axis direction, both
// directions of its sliders, the directions of its evaluated hats, its buttons.
SlotSet EvaluatedSlots(const TJoystick& controller);

} // namespace padwright
