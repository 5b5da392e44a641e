#include "platform/dinput/AxisScaling.h"

#include <gtest/gtest.h>

#include <vector>

namespace padwright {
namespace {

struct ScaleCase {
    std::int32_t raw, minimum, maximum;
    LONG lMin, lMax;
    DWORD deadZone;
    LONG expected;
    AxisRest rest = AxisRest::Centre;
};

class ScaleAxisTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleAxisTest, MapsAsDirectInputDoes) {
    const ScaleCase& c = GetParam();
    EXPECT_EQ(ScaleAxis(c.raw, c.minimum, c.maximum, c.lMin, c.lMax, c.deadZone, c.rest),
              c.expected)
        << "raw " << c.raw << " in " << c.minimum << ".." << c.maximum << " onto " << c.lMin << ".."
        << c.lMax << " dead zone " << c.deadZone << " rest " << int(c.rest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScaleAxisTest,
    ::testing::Values(
        // Full travel and the centre, no dead zone.
        ScaleCase{0, 0, 255, -10, 10, 0, -10}, ScaleCase{255, 0, 255, -10, 10, 0, 10},
        ScaleCase{128, 0, 255, -10, 10, 0, 0}, ScaleCase{-32768, -32768, 32767, -10, 10, 0, -10},
        ScaleCase{32767, -32768, 32767, -10, 10, 0, 10}, ScaleCase{1535, 0, 2047, -100, 100, 0, 50},
        // Readings outside the kernel's range are held at its ends.
        ScaleCase{300, 0, 255, -10, 10, 0, 10}, ScaleCase{-5, 0, 255, -10, 10, 0, -10},
        // A range that neither starts at 0 nor is centred on it (76..364, centre 220).
        ScaleCase{76, 76, 364, -10, 10, 1000, -10}, ScaleCase{220, 76, 364, -10, 10, 1000, 0},
        ScaleCase{364, 76, 364, -100, 100, 1000, 100},
        // 10 % dead zone on 0..200 (centre 100, half-range 100): 9 % reads 0, 10 % is the edge
        // and reads 0, 55 % is half-way through the live travel.
        ScaleCase{109, 0, 200, -10, 10, 1000, 0}, ScaleCase{110, 0, 200, -10, 10, 1000, 0},
        ScaleCase{155, 0, 200, -100, 100, 1000, 50}, ScaleCase{45, 0, 200, -100, 100, 1000, -50},
        ScaleCase{200, 0, 200, -10, 10, 1000, 10},
        // Halves round to even: 0.5 -> 0, 1.5 -> 2, -1.5 -> -2.
        ScaleCase{150, 0, 200, -1, 1, 0, 0}, ScaleCase{300, 0, 400, -3, 3, 0, 2},
        ScaleCase{100, 0, 400, -3, 3, 0, -2},
        // A dead zone of the whole travel, and a range of one value, read the centre.
        ScaleCase{255, 0, 255, -10, 10, 10000, 0}, ScaleCase{7, 7, 7, -10, 10, 0, 0},
        // An output range that is not symmetric.
        ScaleCase{0, 0, 255, 0, 65535, 0, 0}, ScaleCase{255, 0, 255, 0, 65535, 0, 65535},
        // Extreme ranges do not overflow.
        ScaleCase{2147483647, -2147483647 - 1, 2147483647, -2147483647 - 1, 2147483647, 0,
                  2147483647},
        // Half axes: rest reads the centre, the far end the side away from rest, and the dead
        // zone is a share of the whole travel (10 % of 0..200 is 20).
        ScaleCase{0, 0, 200, -100, 100, 1000, 0, AxisRest::Minimum},
        ScaleCase{20, 0, 200, -100, 100, 1000, 0, AxisRest::Minimum},
        ScaleCase{110, 0, 200, -100, 100, 1000, 50, AxisRest::Minimum},
        ScaleCase{200, 0, 200, -100, 100, 1000, 100, AxisRest::Minimum},
        ScaleCase{200, 0, 200, -100, 100, 1000, 0, AxisRest::Maximum},
        ScaleCase{90, 0, 200, -100, 100, 1000, -50, AxisRest::Maximum},
        ScaleCase{0, 0, 200, -100, 100, 1000, -100, AxisRest::Maximum},
        ScaleCase{-2147483647 - 1, -2147483647 - 1, 2147483647, -2147483647 - 1, 2147483647, 0,
                  -2147483647 - 1, AxisRest::Maximum}));

// Each case: the range, the first reading and the readings after it.
TEST(AxisRestGuessTest, FirstReadingAtAnEndRestsThereUnlessTheNextOneIsNearTheCentre) {
    struct {
        std::int32_t minimum, maximum, first;
        std::vector<std::int32_t> then;
        AxisRest rest;
    } cases[] = {
        {0, 255, 0, {}, AxisRest::Minimum},              // a trigger left alone
        {0, 255, 0, {0, 0, 255}, AxisRest::Minimum},     // pressed; equal readings tell nothing
        {0, 255, 0, {200, 128}, AxisRest::Minimum},      // the next different reading settles it
        {0, 255, 0, {130}, AxisRest::Centre},            // a stick before its first report
        {0, 255, 255, {140}, AxisRest::Centre},          // 12.5 from the centre, under 31.875
        {0, 255, 255, {160}, AxisRest::Maximum},         // a pedal, 32.5 from the centre
        {0, 255, 128, {0}, AxisRest::Centre},            // a stick pushed to one end
        {-32768, 32767, -32768, {-1}, AxisRest::Centre}, // a stick held while opened
        {7, 7, 7, {}, AxisRest::Centre},                 // a range of one value
    };
    for (const auto& c : cases) {
        AxisRestGuess guess(c.first, c.minimum, c.maximum);
        for (std::int32_t reading : c.then)
            guess.Observe(reading);
        EXPECT_EQ(guess.Rest(), c.rest) << c.minimum << ".." << c.maximum << " from " << c.first;
    }
}

TEST(HatAngleTest, EightDirectionsClockwiseFromUpAndCentred) {
    struct {
        int x, y;
        DWORD angle;
    } cases[] = {{0, -1, 0},           {1, -1, 4500},  {1, 0, 9000},   {1, 1, 13500},
                 {0, 1, 18000},        {-1, 1, 22500}, {-1, 0, 27000}, {-1, -1, 31500},
                 {0, 0, POV_CENTERED}, {5, -7, 4500}};
    for (const auto& c : cases)
        EXPECT_EQ(HatAngle(c.x, c.y), c.angle) << c.x << "," << c.y;
}

} // namespace
} // namespace padwright
