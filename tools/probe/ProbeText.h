#pragma once
// The lines padwright-probe prints for one controller.
#include "engine/Records.h"

#include <string>
#include <vector>

namespace padwright::probe {

// "Name: ... -- ID: n", "GUID {...}", "objects ...", "povmax ...", "names ...", each ending in
// a newline.
std::string ControllerBlock(const TJoystick& controller);
// "unused: CODE ..." naming the kernel codes that became no object, or "unused: none".
std::string UnusedLine(const std::vector<std::string>& codes);
// "half axes: Z rests at minimum, ..." naming the axes that rest at one end of their range
// (triggers, pedals), or "half axes: none".
std::string HalfAxesLine(const std::vector<std::string>& restingAxes);
// "state x=... buttons=..." for a state read with the controller's counts.
std::string StateLine(const TJoystick& controller, const DIJOYSTATE2& state);
// What to tell about a controller node this user may not read: where it is and how to be
// given access.
std::string AccessAdvice(const std::string& node, const std::string& name);

} // namespace padwright::probe
