#pragma once
// The arithmetic DirectInput applies to a joystick's readings.
#include "platform/dinput/DirectInput.h"

#include <cstdint>

namespace padwright {

constexpr DWORD MaxDeadZone = 10000; // hundredths of a per cent

// Maps `raw` from the kernel range minimum..maximum linearly onto lMin..lMax. Deflections from
// the centre whose share of the half-range is below deadZone/10000 read as the centre of
// lMin..lMax; beyond that the rest of the travel is stretched so that the edge of the dead
// zone reads the centre and full travel reads lMin or lMax. Rounds half to even.
LONG ScaleAxis(std::int32_t raw, std::int32_t minimum, std::int32_t maximum, LONG lMin, LONG lMax,
               DWORD deadZone);

// Eight-way hat angle in hundredths of a degree clockwise from up, from the X and Y readings
// of a hat pair (-1, 0, 1; Y grows downward). POV_CENTERED when both are 0.
DWORD HatAngle(std::int32_t x, std::int32_t y);

} // namespace padwright
