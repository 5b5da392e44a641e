// Which controls a reading engages, and what the cycle keeps of it.
#include "engine/Engagement.h"
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <limits>

namespace padwright::test {
namespace {

// The rig's controller: 2 sliders, a four-way and an eight-way hat, 128 buttons, threshold 5.
TEST(Engagement, ReadingsEngageTheirSlots) {
    EngineRig rig;
    rig.AddProfile();
    TJoystick& pad = rig.AddController();
    pad.ButtonCount = 12;
    const struct {
        const char* what;
        void (*set)(DIJOYSTATE2&);
        int slot; // -1: nothing engaged
    } cases[] = {
        {"X below threshold", [](DIJOYSTATE2& s) { s.lX = 4; }, -1},
        {"X at threshold", [](DIJOYSTATE2& s) { s.lX = 5; }, AxisSlot(0, true)},
        {"Rz negative", [](DIJOYSTATE2& s) { s.lRz = -9; }, AxisSlot(5, false)},
        {"Y at the lowest value", [](DIJOYSTATE2& s) { s.lY = std::numeric_limits<LONG>::min(); },
         AxisSlot(1, false)},
        {"slider 2 positive", [](DIJOYSTATE2& s) { s.rglSlider[1] = 10; }, SliderSlot(1, true)},
        {"four-way hat up", [](DIJOYSTATE2& s) { s.rgdwPOV[0] = 0; }, HatSlot(0, 0)},
        {"four-way hat diagonal", [](DIJOYSTATE2& s) { s.rgdwPOV[0] = 4500; }, -1},
        {"eight-way hat diagonal", [](DIJOYSTATE2& s) { s.rgdwPOV[1] = 13500; }, HatSlot(1, 3)},
        {"hat between angles", [](DIJOYSTATE2& s) { s.rgdwPOV[1] = 100; }, -1},
        {"third hat past the count", [](DIJOYSTATE2& s) { s.rgdwPOV[2] = 0; }, -1},
        {"button 12", [](DIJOYSTATE2& s) { s.rgbButtons[11] = 0x80; }, ButtonSlot(11)},
        {"button 13 past the count", [](DIJOYSTATE2& s) { s.rgbButtons[12] = 0x80; }, -1},
        {"button byte without the high bit", [](DIJOYSTATE2& s) { s.rgbButtons[0] = 0x7F; }, -1},
    };
    for (const auto& c : cases) {
        DIJOYSTATE2 state = NeutralJoyState();
        c.set(state);
        SlotSet expected;
        if (c.slot >= 0)
            expected.set(static_cast<std::size_t>(c.slot));
        EXPECT_EQ(EngagedSlots(pad, state), expected) << c.what;
    }

    pad.Threshold = 0; // a zero reading never engages, whatever the threshold
    EXPECT_TRUE(EngagedSlots(pad, NeutralJoyState()).none());
}

TEST(Engagement, CycleKeepsTheLastReadingAndCountsOutputs) {
    EngineRig rig;
    rig.AddProfile();
    rig.AddController();
    rig.Map(ButtonSlot(0), "VK_A");
    rig.Device().SetButton(0, true);
    rig.Device().SetButton(1, true); // engaged though it has no function
    rig.Cycle();
    const TJoystick& pad = rig.lists.ActiveJoysticks[0];
    EXPECT_TRUE(pad.Engaged.test(ButtonSlot(0)));
    EXPECT_TRUE(pad.Engaged.test(ButtonSlot(1)));
    EXPECT_EQ(rig.engine.OutputCount(), rig.injector.calls.size());

    const auto before = rig.engine.OutputCount();
    rig.Cycle(); // held: nothing new is sent
    EXPECT_EQ(rig.engine.OutputCount(), before);

    rig.Device().pollResult = DIERR_INPUTLOST;
    rig.Cycle();
    EXPECT_TRUE(rig.lists.ActiveJoysticks[0].Engaged.none());
}

} // namespace
} // namespace padwright::test
