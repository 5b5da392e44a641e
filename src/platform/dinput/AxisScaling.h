#pragma once
// The arithmetic DirectInput applies to a joystick's readings, and where an axis rests.
#include "platform/dinput/DirectInput.h"

#include <cstdint>

namespace padwright {

constexpr DWORD MaxDeadZone = 10000; // hundredths of a per cent

// Where an axis rests: sticks and wheels at the centre of their range; triggers and pedals at
// one end of it, which makes them half axes.
enum class AxisRest : std::uint8_t { Centre, Minimum, Maximum };

// Maps `raw` from the kernel range minimum..maximum linearly onto lMin..lMax. Deflections from
// the rest position whose share of the travel from rest to the far end is below
// deadZone/10000 read as the centre of lMin..lMax; beyond that the rest of the travel is
// stretched so that the edge of the dead zone reads the centre and full travel reads lMin or
// lMax. A centred axis travels half its range each way; a half axis travels its whole range
// to one side only, toward lMax when it rests at its minimum and toward lMin when it rests at
// its maximum. Rounds half to even.
LONG ScaleAxis(std::int32_t raw, std::int32_t minimum, std::int32_t maximum, LONG lMin, LONG lMax,
               DWORD deadZone, AxisRest rest = AxisRest::Centre);

// Tells from an axis's readings since its device was opened where it rests. A first reading
// at one end of the range means the axis rests there, unless the next different reading lies
// within a quarter of the half-range around the centre: a kernel that has had no report yet
// gives a stick's minimum, as does a stick held to one side while the device was opened. The
// next different reading settles it for as long as the device stays open.
class AxisRestGuess {
public:
    AxisRestGuess() = default;
    AxisRestGuess(std::int32_t first, std::int32_t minimum, std::int32_t maximum);

    void Observe(std::int32_t reading);
    AxisRest Rest() const { return rest_; }

private:
    AxisRest rest_ = AxisRest::Centre;
    bool settled_ = true;
    std::int32_t first_ = 0, minimum_ = 0, maximum_ = 0;
};

// Eight-way hat angle in hundredths of a degree clockwise from up, from the X and Y readings
// of a hat pair (-1, 0, 1; Y grows downward). POV_CENTERED when both are 0.
DWORD HatAngle(std::int32_t x, std::int32_t y);

} // namespace padwright
