#pragma once
// What the probe takes from the system it runs on: its DirectInput and the kernel's names of
// input event codes.
#include "input/ControllerAccess.h"

#include <string>

namespace padwright::probe {

DirectInputEntry SystemDirectInput();
// The kernel's name of an event code ("ABS_HAT1X"); empty where the system has no names.
std::string KernelCodeName(unsigned type, unsigned code);

} // namespace padwright::probe
