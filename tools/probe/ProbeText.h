#pragma once
// The lines padwright-probe prints for one controller.
#include "engine/Records.h"

#include <string>

namespace padwright::probe {

// "Name: ... -- ID: n", "GUID {...}", "objects ...", "povmax ...", "names ...", each ending in
// a newline.
std::string ControllerBlock(const TJoystick& controller);
// "state x=... buttons=..." for a state read with the controller's counts.
std::string StateLine(const TJoystick& controller, const DIJOYSTATE2& state);

} // namespace padwright::probe
