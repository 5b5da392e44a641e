#pragma once
#include "platform/dinput/EvdevDescription.h"

namespace padwright {

// Whether an evdev node is a game controller: it has joystick or gamepad buttons or absolute X
// and Y axes, and is none of the other things that share those (motion sensors, touchpads,
// tablets, mice, keyboards). A pad that comes as several nodes has only its pad node accepted.
bool IsGameController(const EvdevDescription& device);

} // namespace padwright
