#pragma once
#include <cmath>
#include <cstdint>

namespace padwright {

// Every conversion to a whole number rounds half to even.
inline std::int64_t RoundHalfEven(double value) {
    const double r = std::nearbyint(value); // default rounding mode is to-nearest-even
    return static_cast<std::int64_t>(r);
}

// numerator / denominator rounded half to even, in exact integer arithmetic (denominator > 0).
constexpr std::int64_t DivRoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t q = numerator / denominator;
    std::int64_t r = numerator % denominator;
    if (r < 0) { // make the remainder non-negative (floor division)
        r += denominator;
        --q;
    }
    const std::int64_t twice = 2 * r;
    if (twice > denominator || (twice == denominator && (q % 2 != 0)))
        ++q;
    return q;
}

} // namespace padwright
