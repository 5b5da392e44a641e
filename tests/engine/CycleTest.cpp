// The data-collection cycle: thresholds, hats, buttons, order, failures and shared profiles.
#include "EngineRig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr InjectedCall LeftDown() {
    return {InjectedCall::Mouse, 0, 0, MOUSEEVENTF_LEFTDOWN};
}
constexpr InjectedCall LeftUp() {
    return {InjectedCall::Mouse, 0, 0, MOUSEEVENTF_LEFTUP};
}
constexpr InjectedCall RightDown() {
    return {InjectedCall::Mouse, 0, 0, MOUSEEVENTF_RIGHTDOWN};
}
constexpr InjectedCall RightUp() {
    return {InjectedCall::Mouse, 0, 0, MOUSEEVENTF_RIGHTUP};
}

class Cycle : public ::testing::Test {
protected:
    Cycle() {
        rig.AddProfile();
        rig.AddController();
    }
    EngineRig rig;
};

// Axis directions are mapped to mouse buttons, whose press and release both show.
TEST_F(Cycle, AxisThresholds) {
    const struct {
        int threshold;
        LONG reading;
        int positiveState, negativeState;
    } cases[] = {
        {5, 4, 0, 0},
        {5, 5, 1, 0},
        {5, -7, 0, 1},
        {5, -5, 0, 1},
        {5, -4, 0, 0},
        {0, 0, 0, 0},
        {0, 1, 1, 0},
        {0, -1, 0, 1},
        {10, 10, 1, 0},
        {11, 10, 0, 0},
        {5, std::numeric_limits<LONG>::min(), 0, 1},
        {5, std::numeric_limits<LONG>::max(), 1, 0},
    };
    for (const auto& c : cases) {
        TControlMapping& neg = rig.Map(AxisSlot(0, false), "MOUSE_LEFT_CLICK");
        TControlMapping& pos = rig.Map(AxisSlot(0, true), "MOUSE_RIGHT_CLICK");
        neg.PressState = pos.PressState = psIdle;
        rig.lists.ActiveJoysticks[0].Threshold = c.threshold;
        rig.Device().state.lX = c.reading;
        rig.Cycle();
        EXPECT_EQ(pos.PressState, c.positiveState) << c.threshold << " / " << c.reading;
        EXPECT_EQ(neg.PressState, c.negativeState) << c.threshold << " / " << c.reading;
    }
}

TEST_F(Cycle, KeyAndAppCommandOnAnAxisGetTheThresholdedValue) {
    rig.lists.ActiveJoysticks[0].RepeatKeys = true;
    rig.Map(AxisSlot(2, true), "VK_A");
    rig.Map(AxisSlot(2, false), "VOLUME_DOWN");
    rig.Device().state.lZ = 4;
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    rig.Device().state.lZ = 6;
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(0x41)));
    rig.Device().state.lZ = -6;
    EXPECT_THAT(rig.Cycle(), ElementsAre(Up(0x41), AppCommand(0x00090000)));
}

TEST_F(Cycle, ThePositiveDirectionIsEvaluatedBeforeTheNegativeOne) {
    rig.Map(AxisSlot(0, false), "MOUSE_LEFT_CLICK");
    rig.Map(AxisSlot(0, true), "MOUSE_RIGHT_CLICK");
    rig.Device().state.lX = 10;
    EXPECT_THAT(rig.Cycle(), ElementsAre(RightDown()));
    rig.Device().state.lX = -10;
    EXPECT_THAT(rig.Cycle(), ElementsAre(RightUp(), LeftDown()));
}

TEST_F(Cycle, AxesSlidersHatsAndButtonsInOrder) {
    rig.Map(ButtonSlot(0), "VOLUME_MUTE");                // 8
    rig.Map(HatSlot(0, 0), "MEDIA_STOP");                 // 13
    rig.Map(SliderSlot(1, true), "MEDIA_NEXTTRACK");      // 11
    rig.Map(SliderSlot(0, false), "MEDIA_PREVIOUSTRACK"); // 12
    rig.Map(AxisSlot(5, true), "VOLUME_UP");              // 10
    rig.Map(AxisSlot(3, false), "VOLUME_DOWN");           // 9
    ScriptedDevice& d = rig.Device();
    d.state.lRz = 8;
    d.state.lRx = -8;
    d.state.rglSlider[0] = -9;
    d.state.rglSlider[1] = 9;
    d.state.rgdwPOV[0] = 0;
    d.SetButton(0, true);
    EXPECT_THAT(rig.Cycle(),
                ElementsAre(AppCommand(9 << 16), AppCommand(10 << 16), AppCommand(12 << 16),
                            AppCommand(11 << 16), AppCommand(13 << 16), AppCommand(8 << 16)));
}

TEST_F(Cycle, OnlyCountedSlidersHatsAndButtonsAreRead) {
    TJoystick& j = rig.lists.ActiveJoysticks[0];
    j.SliderCount = 1;
    j.POVCount = 1;
    j.ButtonCount = 3;
    rig.Map(SliderSlot(1, true), "VOLUME_UP");
    rig.Map(HatSlot(1, 0), "VOLUME_UP");
    rig.Map(ButtonSlot(3), "VOLUME_UP");
    rig.Map(ButtonSlot(2), "VOLUME_DOWN");
    ScriptedDevice& d = rig.Device();
    d.state.rglSlider[1] = 10;
    d.state.rgdwPOV[1] = 0;
    d.SetButton(3, true);
    d.SetButton(2, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(AppCommand(9 << 16)));
}

TEST_F(Cycle, CountsBeyondWhatTheRecordsHoldAreCutToTheirLimits) {
    TJoystick& j = rig.lists.ActiveJoysticks[0];
    j.SliderCount = 9;
    j.POVCount = 40;
    j.ButtonCount = 1000;
    rig.Map(ButtonSlot(127), "VOLUME_UP");
    rig.Device().SetButton(127, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(AppCommand(10 << 16)));
    j.SliderCount = j.POVCount = j.ButtonCount = -3;
    EXPECT_THAT(rig.Cycle(), IsEmpty());
}

// Hat 1 of the rig is four-way (POVMax 3), hat 2 eight-way (POVMax 7).
TEST_F(Cycle, HatsEngageByExactAngle) {
    for (int h = 0; h < 2; ++h)
        for (int d = 0; d < HatDirections; ++d)
            rig.Map(HatSlot(h, d), "MOUSE_LEFT_CLICK");
    const struct {
        DWORD reading;
        int fourWay;  // direction engaged on hat 1, -1 none
        int eightWay; // on hat 2
    } cases[] = {{0, 0, 0},       {4500, -1, 1},   {9000, 2, 2},           {13500, -1, 3},
                 {18000, 4, 4},   {22500, -1, 5},  {27000, 6, 6},          {31500, -1, 7},
                 {4000, -1, -1},  {36000, -1, -1}, {POV_CENTERED, -1, -1}, {45, -1, -1},
                 {0xFFFF, -1, -1}};
    for (const auto& c : cases) {
        rig.Device().state.rgdwPOV[0] = c.reading;
        rig.Device().state.rgdwPOV[1] = c.reading;
        rig.Cycle();
        for (int d = 0; d < HatDirections; ++d) {
            EXPECT_EQ(rig.Slot(HatSlot(0, d)).PressState, d == c.fourWay ? 1 : 0)
                << "four-way reading " << c.reading << " direction " << d;
            EXPECT_EQ(rig.Slot(HatSlot(1, d)).PressState, d == c.eightWay ? 1 : 0)
                << "eight-way reading " << c.reading << " direction " << d;
        }
    }
}

TEST_F(Cycle, AHatWhoseRangeIsNeitherFourNorEightWayNeverFires) {
    for (int povMax : {0, 1, 4, 8, -1}) {
        rig.lists.ActiveJoysticks[0].POVMax[0] = povMax;
        rig.Map(HatSlot(0, 0), "VOLUME_UP");
        rig.Device().state.rgdwPOV[0] = 0;
        EXPECT_THAT(rig.Cycle(), IsEmpty()) << "POVMax " << povMax;
    }
}

TEST_F(Cycle, AButtonIsDownWhenBit0x80IsSet) {
    TControlMapping& m = rig.Map(ButtonSlot(5), "MOUSE_LEFT_CLICK");
    const struct {
        BYTE value;
        int state;
    } cases[] = {{0x80, 1}, {0xFF, 1}, {0x7F, 0}, {0x01, 0}, {0x81, 1}, {0x00, 0}};
    for (const auto& c : cases) {
        rig.Device().state.rgbButtons[5] = c.value;
        rig.Cycle();
        EXPECT_EQ(m.PressState, c.state) << int(c.value);
    }
}

TEST_F(Cycle, TheTrayStepComesFirstInEveryRun) {
    rig.Device().pollResult = DIERR_INPUTLOST;
    rig.Cycle();
    EXPECT_THAT(rig.host.events, ElementsAre("TrayAnimationStep", "log", "PauseReading"));
}

TEST(CycleWithoutControllers, PausesReadingOnTheFirstRun) {
    EngineRig rig;
    rig.Cycle();
    EXPECT_EQ(rig.host.pauses, 1);
    EXPECT_EQ(rig.host.traySteps, 1);
}

TEST_F(Cycle, NoControllerWithAProfileOrAcquiredPausesReading) {
    TJoystick& j = rig.lists.ActiveJoysticks[0];
    j.Profile = 0;
    rig.Cycle();
    EXPECT_EQ(rig.host.pauses, 1);
    EXPECT_EQ(rig.Device().pollCalls, 1) << "a controller without a profile is still polled";
    j.Profile = 1;
    j.Acquired = false;
    rig.Cycle();
    EXPECT_EQ(rig.host.pauses, 2);
    EXPECT_EQ(rig.Device().pollCalls, 1) << "one that is not acquired is not";
    j.Acquired = true;
    rig.Cycle();
    EXPECT_EQ(rig.host.pauses, 2);
}

TEST_F(Cycle, AProfileNumberBeyondTheListIsNeitherEvaluatedNorCountedDown) {
    TControlMapping& m = rig.Map(ButtonSlot(0), "MOUSE_LEFT_CLICK", 10);
    m.PressState = psPressed;
    m.RepeatCountdown = 90;
    for (int profile : {2, 99, -1}) {
        rig.lists.ActiveJoysticks[0].Profile = profile;
        EXPECT_THAT(rig.Cycle(), IsEmpty());
        rig.Tick();
        EXPECT_EQ(rig.host.pauses, 1);
        rig.host.pauses = 0;
    }
    EXPECT_EQ(m.PressState, psPressed);
    EXPECT_EQ(m.RepeatCountdown, 90);
}

TEST_F(Cycle, PollFailureLogsDropsTheControllerReleasesWhatItHoldsAndPauses) {
    rig.lists.ActiveJoysticks[0].RepeatKeys = true;
    rig.Map(ButtonSlot(0), "VK_A");
    rig.Map(ButtonSlot(1), "MOUSE_LEFT_CLICK");
    rig.Device().SetButton(0, true);
    rig.Device().SetButton(1, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(0x41), LeftDown()));

    rig.Device().pollResult = DIERR_INPUTLOST;
    EXPECT_THAT(rig.Cycle(), ElementsAre(Up(0x41), LeftUp()));
    EXPECT_THAT(rig.host.logLines,
                ElementsAre("Failed to poll device: Access to the input device has been lost. It "
                            "must be reacquired."));
    EXPECT_FALSE(rig.lists.ActiveJoysticks[0].Acquired);
    EXPECT_EQ(rig.host.pauses, 1);
    EXPECT_EQ(rig.Device().stateCalls, 1) << "no state is read after a failed poll";
    EXPECT_EQ(rig.Slot(ButtonSlot(0)).PressState, psIdle);
    EXPECT_EQ(rig.Slot(ButtonSlot(1)).PressState, psIdle);

    EXPECT_THAT(rig.Cycle(), IsEmpty());
    EXPECT_EQ(rig.Device().pollCalls, 2) << "not read again until reading is started anew";
    EXPECT_EQ(rig.host.logLines.size(), 1u);
}

TEST_F(Cycle, PollAnsweringNoEffectIsNotAFailure) {
    rig.Device().pollResult = DI_NOEFFECT;
    rig.Cycle();
    EXPECT_TRUE(rig.lists.ActiveJoysticks[0].Acquired);
    EXPECT_THAT(rig.host.logLines, IsEmpty());
    rig.Device().pollResult = DI_POLLEDDEVICE; // a success code, but not one Poll may give
    rig.Cycle();
    EXPECT_FALSE(rig.lists.ActiveJoysticks[0].Acquired);
}

TEST_F(Cycle, OneFailingControllerDoesNotStopTheOthers) {
    rig.AddController();
    rig.Map(ButtonSlot(0), "VOLUME_UP");
    rig.Device(0).pollResult = DIERR_UNPLUGGED;
    rig.Device(1).SetButton(0, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(AppCommand(10 << 16)));
    EXPECT_EQ(rig.host.pauses, 0);
    EXPECT_THAT(rig.host.logLines,
                ElementsAre("Failed to poll device: The operation could not be completed because "
                            "the device is not plugged in."));
}

TEST_F(Cycle, StateFailureLogsReacquiresAndEvaluatesANeutralState) {
    rig.Map(ButtonSlot(0), "MOUSE_LEFT_CLICK");
    rig.Device().SetButton(0, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(LeftDown()));

    rig.Device().stateResult = DIERR_NOTACQUIRED;
    rig.Device().acquireAnswers = {DIERR_INPUTLOST, DIERR_INPUTLOST};
    EXPECT_THAT(rig.Cycle(), ElementsAre(LeftUp()));
    EXPECT_EQ(rig.Device().acquireCalls, 3);
    EXPECT_THAT(rig.host.logLines,
                ElementsAre("Failed to obtain the device state: The operation cannot be performed "
                            "unless the device is acquired."));
    EXPECT_TRUE(rig.lists.ActiveJoysticks[0].Acquired);
    EXPECT_EQ(rig.host.pauses, 0) << "a run whose state read failed still counts as evaluated";

    rig.Device().stateResult = DI_OK;
    EXPECT_THAT(rig.Cycle(), ElementsAre(LeftDown()));
}

// A zeroed state would read as every hat held Up.
TEST_F(Cycle, AFailedStateReadNeverPressesHatUp) {
    rig.Map(HatSlot(0, 0), "MOUSE_LEFT_CLICK");
    rig.Map(HatSlot(1, 0), "VOLUME_UP");
    rig.Device().stateResult = DIERR_INPUTLOST;
    std::memset(&rig.Device().state, 0, sizeof rig.Device().state);
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    EXPECT_EQ(rig.Slot(HatSlot(0, 0)).PressState, psIdle);
}

TEST_F(Cycle, ReacquireStopsAfterTenAttemptsWhileInputStaysLost) {
    rig.Device().stateResult = DIERR_INPUTLOST;
    rig.Device().acquireResult = DIERR_INPUTLOST;
    rig.Cycle();
    EXPECT_EQ(rig.Device().acquireCalls, MaxReacquireAttempts);
    rig.Device().acquireResult = DIERR_UNPLUGGED;
    rig.Cycle();
    EXPECT_EQ(rig.Device().acquireCalls, MaxReacquireAttempts + 1);
}

TEST_F(Cycle, ALogLineThatCannotBeWrittenEndsTheRun) {
    struct ThrowingHost : FakeHost {
        void LogDirectInputError(std::string_view, HRESULT) override { throw Error("Disk full"); }
    } host;
    Engine engine(rig.lists, rig.injector, rig.session, host);
    rig.AddController();
    rig.Map(ButtonSlot(0), "VOLUME_UP");
    rig.Device(0).pollResult = DIERR_INPUTLOST;
    rig.Device(1).SetButton(0, true);
    EXPECT_THROW(engine.CollectData(), Error);
    EXPECT_EQ(rig.Device(1).pollCalls, 0);
    EXPECT_THAT(rig.injector.calls, IsEmpty());
}

// Controllers on one profile act as one: a mapping is down while any of them engages it, the
// pointer follows the largest deflection, and an idle controller never lets go of what another
// holds.
TEST_F(Cycle, ControllersSharingAProfileActAsOne) {
    rig.AddController();
    rig.AddController();
    rig.Map(ButtonSlot(0), "MOUSE_LEFT_CLICK");
    rig.Map(AxisSlot(0, true), "MOUSE_MOVE_X_POS");
    const auto move = [](int dx) { return Mouse(MOUSEEVENTF_MOVE, dx, 0); };
    rig.Device(1).SetButton(0, true);
    rig.Device(0).state.lX = 3;
    rig.Device(2).state.lX = 7;
    EXPECT_THAT(rig.Cycle(), ElementsAre(move(7), LeftDown()));
    EXPECT_THAT(rig.Cycle(), ElementsAre(move(7))) << "held, not released by the idle ones";

    rig.Device(0).SetButton(0, true);
    rig.Device(1).SetButton(0, false);
    rig.Device(2).state.lX = 0;
    EXPECT_THAT(rig.Cycle(), ElementsAre(move(3))) << "taken over without a release";

    rig.Device(0).SetButton(0, false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(move(3), LeftUp()));
}

// A controller that drops out lets go only of what no other controller on its profile holds,
// whether it is read before or after the one that holds.
TEST(CycleSharing, AControllerDroppingOutLeavesWhatAnotherOnItsProfileHolds) {
    for (int holder : {0, 1}) {
        EngineRig rig;
        rig.AddProfile();
        rig.AddController();
        rig.AddController();
        rig.Map(ButtonSlot(0), "MOUSE_LEFT_CLICK");
        rig.Map(ButtonSlot(1), "MOUSE_RIGHT_CLICK");
        rig.Device(holder).SetButton(0, true);
        rig.Device(1 - holder).SetButton(1, true);
        EXPECT_THAT(rig.Cycle(), ElementsAre(LeftDown(), RightDown()));
        rig.Device(1 - holder).pollResult = DIERR_UNPLUGGED;
        EXPECT_THAT(rig.Cycle(), ElementsAre(RightUp())) << "holder " << holder;
        EXPECT_THAT(rig.Cycle(), IsEmpty()) << "holder " << holder;
    }
}

// A profile several controllers use counts each mapping down once per tick, if any of them
// (acquired or not) has its slot; a controller on another profile counts only that one.
TEST_F(Cycle, ASharedProfileIsCountedDownOncePerTickOverTheSlotsOfAnyOfItsControllers) {
    rig.AddProfile("Other");
    rig.lists.ActiveJoysticks[0].ButtonCount = 4;
    rig.AddController().Acquired = false;
    rig.lists.ActiveJoysticks[1].ButtonCount = 8;
    rig.AddController(2);
    struct Case {
        int button, profile, expected;
    } const cases[] = {{0, 1, 170}, {6, 1, 170}, {9, 1, 200}, {0, 2, 170}};
    for (const Case& c : cases) {
        TControlMapping& m = rig.Map(ButtonSlot(c.button), "VK_A", 5, c.profile);
        m.PressState = psRepeating;
        m.RepeatCountdown = 200;
    }
    rig.Tick();
    for (const Case& c : cases)
        EXPECT_EQ(rig.Slot(ButtonSlot(c.button), c.profile).RepeatCountdown, c.expected)
            << "button " << c.button << " of profile " << c.profile;
}

TEST_F(Cycle, TheTickVisitsExactlyTheEvaluatedSlots) {
    TJoystick& j = rig.lists.ActiveJoysticks[0];
    j.SliderCount = 1;
    j.POVCount = 2;
    j.POVMax = {3, 5, 0, 0};
    j.ButtonCount = 10;
    TProfile& p = rig.lists.Profiles[0];
    for (TControlMapping& m : p.Mappings) {
        m.PressState = psPressed;
        m.RepeatCountdown = 100;
    }
    rig.Tick();
    for (int slot = 0; slot < SlotCount; ++slot) {
        const bool counted =
            slot < 14 || (slot >= 16 && slot < 24 && slot % 2 == 0) || (slot >= 48 && slot < 58);
        EXPECT_EQ(p.Mappings[slot].RepeatCountdown, counted ? 70 : 100) << "slot " << slot;
    }
}

} // namespace
} // namespace padwright::test
