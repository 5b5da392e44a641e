#include "platform/dinput/AxisScaling.h"

#include <algorithm>
#include <cstdlib>

namespace padwright {

namespace {

using Wide = __int128;

// numerator / denominator rounded half to even; denominator > 0.
Wide DivideHalfEven(Wide numerator, Wide denominator) {
    Wide q = numerator / denominator;
    Wide r = numerator % denominator;
    if (r < 0) {
        r += denominator;
        --q;
    }
    const Wide twice = 2 * r;
    if (twice > denominator || (twice == denominator && (q % 2 != 0)))
        ++q;
    return q;
}

} // namespace

LONG ScaleAxis(std::int32_t raw, std::int32_t minimum, std::int32_t maximum, LONG lMin, LONG lMax,
               DWORD deadZone, AxisRest rest) {
    // Work in doubled units so that centres falling between two integers stay exact.
    const Wide centreOut2 = Wide(lMin) + lMax;
    if (maximum <= minimum || deadZone >= MaxDeadZone)
        return static_cast<LONG>(DivideHalfEven(centreOut2, 2));
    raw = std::clamp(raw, minimum, maximum);
    // A half axis is one half of a range twice as wide, centred on its rest position.
    Wide low = minimum, high = maximum;
    if (rest == AxisRest::Minimum)
        low = 2 * Wide(minimum) - maximum;
    else if (rest == AxisRest::Maximum)
        high = 2 * Wide(maximum) - minimum;
    const Wide deflection2 = 2 * Wide(raw) - (low + high); // 2 * (raw - centre)
    const Wide half2 = high - low;                         // 2 * half-range
    const Wide magnitude = deflection2 < 0 ? -deflection2 : deflection2;
    // |deflection| / half-range against deadZone / 10000, cross-multiplied.
    const Wide beyond = magnitude * MaxDeadZone - Wide(deadZone) * half2;
    if (beyond < 0)
        return static_cast<LONG>(DivideHalfEven(centreOut2, 2));
    // out = centreOut + sign * beyond / ((10000 - deadZone) * half2) * (lMax - lMin) / 2 * 2,
    // the doubled half-range cancelling the halved output span.
    const Wide denominator = Wide(MaxDeadZone - deadZone) * half2;
    const Wide span = Wide(lMax) - lMin;
    const Wide signedBeyond = deflection2 < 0 ? -beyond : beyond;
    const Wide out =
        DivideHalfEven(centreOut2 * denominator + signedBeyond * span, 2 * denominator);
    return static_cast<LONG>(std::clamp<Wide>(out, lMin, lMax));
}

AxisRestGuess::AxisRestGuess(std::int32_t first, std::int32_t minimum, std::int32_t maximum)
    : first_(first), minimum_(minimum), maximum_(maximum) {
    if (maximum <= minimum)
        return;
    if (first <= minimum)
        rest_ = AxisRest::Minimum;
    else if (first >= maximum)
        rest_ = AxisRest::Maximum;
    else
        return;
    settled_ = false;
}

void AxisRestGuess::Observe(std::int32_t reading) {
    if (settled_ || reading == first_)
        return;
    settled_ = true;
    // |reading - centre| < half-range / 4, in doubled units.
    const std::int64_t offCentre2 = std::abs(2 * std::int64_t(reading) - minimum_ - maximum_);
    if (4 * offCentre2 < std::int64_t(maximum_) - minimum_)
        rest_ = AxisRest::Centre;
}

DWORD HatAngle(std::int32_t x, std::int32_t y) {
    const int sx = (x > 0) - (x < 0);
    const int sy = (y > 0) - (y < 0);
    // Indexed by [sy + 1][sx + 1].
    static constexpr DWORD Angles[3][3] = {
        {31500, 0, 4500},
        {27000, POV_CENTERED, 9000},
        {22500, 18000, 13500},
    };
    return Angles[sy + 1][sx + 1];
}

} // namespace padwright
