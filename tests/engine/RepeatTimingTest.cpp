// How many auto-repeat ticks lie between repetitions, for the rates at the edges.
#include "EngineRig.h"

#include <gtest/gtest.h>

namespace padwright::test {
namespace {

struct Timing {
    int rate;
    int ticksBetweenRepeats;
};

class RepeatTiming : public ::testing::TestWithParam<Timing> {};

// A held key: stroke, release, then a key-down each time the countdown has run out. One
// data-collection run follows every tick, as the faster timer does at the default interval.
// Idle controllers sharing the profile (one of them not acquired) change nothing.
TEST_P(RepeatTiming, RepeatsAfterTheCountdownRunsOut) {
    const Timing t = GetParam();
    for (int controllers : {1, 3}) {
        SCOPED_TRACE(controllers);
        EngineRig rig;
        rig.AddProfile();
        for (int c = 0; c < controllers; ++c)
            rig.AddController().Acquired = c != 2;
        TControlMapping& m = rig.Map(ButtonSlot(0), "VK_A", t.rate);
        rig.Device().SetButton(0, true);
        ASSERT_EQ(rig.Cycle().size(), 2u); // the stroke
        ASSERT_EQ(rig.Cycle().size(), 1u); // key up: repeating from here
        ASSERT_EQ(rig.Cycle(), std::vector{Down(0x41)});
        EXPECT_EQ(m.RepeatCountdown, RepeatPeriod(t.rate));

        for (int period = 0; period < 3; ++period) {
            int ticks = 0;
            while (rig.Cycle().empty()) {
                ASSERT_LT(ticks, 100) << "never repeated";
                rig.Tick();
                ++ticks;
            }
            EXPECT_EQ(ticks, t.ticksBetweenRepeats) << "period " << period;
            EXPECT_EQ(rig.injector.calls, std::vector{Down(0x41)});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, RepeatTiming,
                         ::testing::Values(Timing{1, 34}, Timing{2, 17}, Timing{3, 12},
                                           Timing{16, 3}, Timing{17, 2}, Timing{30, 2},
                                           Timing{255, 0}, Timing{31, 0}),
                         [](const auto& info) { return "Rate" + std::to_string(info.param.rate); });

TEST(RepeatTiming, Rate16CountsDown62Then32Then2ThenZero) {
    TControlMapping m{};
    m.PressState = psRepeating;
    m.RepeatCountdown = RepeatPeriod(16);
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        seen.push_back(m.RepeatCountdown);
        TickRepeat(m, AutoRepeatInterval);
    }
    EXPECT_EQ(seen, (std::vector{62, 32, 2, 0}));
}

TEST(RepeatTiming, AReleasedMappingWaitsAFullPeriodBeforeRepeatingAgain) {
    EngineRig rig;
    rig.AddProfile();
    rig.AddController();
    TControlMapping& m = rig.Map(ButtonSlot(0), "VK_A", 10);
    rig.Device().SetButton(0, true);
    rig.Cycle();
    rig.Cycle();
    rig.Cycle();
    rig.Device().SetButton(0, false);
    rig.Cycle();
    EXPECT_EQ(m.RepeatCountdown, 100);
    rig.Tick(10);
    EXPECT_EQ(m.RepeatCountdown, 100) << "idle mappings keep their countdown";

    rig.Device().SetButton(0, true);
    EXPECT_EQ(rig.Cycle().size(), 2u);
    EXPECT_TRUE(rig.Cycle().empty()) << "the stroke is not released before the period ran out";
    rig.Tick(4);
    EXPECT_EQ(rig.Cycle(), std::vector{Up(0x41)});
}

} // namespace
} // namespace padwright::test
