// Key, mouse, wheel, application-command and power sequences through the whole cycle.
#include "EngineRig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace padwright::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint8_t VK_A = 0x41, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_SHIFT = 0x10,
                       VK_RWIN = 0x5C;
constexpr int Button1 = ButtonSlot(0);

class Outputs : public ::testing::Test {
protected:
    Outputs() {
        rig.AddProfile();
        rig.AddController();
    }
    void Press(bool down) { rig.Device().SetButton(0, down); }
    EngineRig rig;
};

TEST_F(Outputs, KeyWithModifiersIsOneStrokeOnEngaging) {
    TControlMapping& m = rig.Map(Button1, "VK_A");
    m.Ctrl = m.Shift = 1;
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_CONTROL), Down(VK_SHIFT), Down(VK_A), Up(VK_A),
                                         Up(VK_SHIFT), Up(VK_CONTROL)));
    for (int i = 0; i < 9; ++i)
        EXPECT_THAT(rig.Cycle(), IsEmpty());
    Press(false);
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    EXPECT_EQ(m.PressState, psIdle);
}

TEST_F(Outputs, AllFourModifiersGoDownInOrderAndWinIsTheRightWindowsKey) {
    TControlMapping& m = rig.Map(Button1, "VK_A");
    m.Ctrl = m.Alt = m.Shift = m.Win = 1;
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_CONTROL), Down(VK_MENU), Down(VK_SHIFT),
                                         Down(VK_RWIN), Down(VK_A), Up(VK_A), Up(VK_RWIN),
                                         Up(VK_SHIFT), Up(VK_MENU), Up(VK_CONTROL)));
}

TEST_F(Outputs, RepeatKeysPressesOnEveryCycleAndReleasesOnce) {
    rig.lists.ActiveJoysticks[0].RepeatKeys = true;
    TControlMapping& m = rig.Map(Button1, "VK_A");
    m.Ctrl = m.Shift = 1;
    Press(true);
    for (int i = 0; i < 10; ++i)
        EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_CONTROL), Down(VK_SHIFT), Down(VK_A)));
    Press(false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Up(VK_A), Up(VK_SHIFT), Up(VK_CONTROL)));
    EXPECT_THAT(rig.Cycle(), IsEmpty());
}

TEST_F(Outputs, RepeatKeysDoesNotReachMouseOrAppCommandMappings) {
    rig.lists.ActiveJoysticks[0].RepeatKeys = true;
    rig.Map(Button1, "MOUSE_LEFT_CLICK");
    rig.Map(ButtonSlot(1), "VOLUME_UP");
    rig.Device().SetButton(0, true);
    rig.Device().SetButton(1, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_LEFTDOWN), AppCommand(0x000A0000)));
    EXPECT_THAT(rig.Cycle(), IsEmpty());
}

TEST_F(Outputs, OwnRepeatOfAKeyFollowsTheCountdown) {
    TControlMapping& m = rig.Map(Button1, "VK_A", 10);
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_A), Up(VK_A)));
    EXPECT_THAT(rig.Cycle(), ElementsAre(Up(VK_A))) << "the countdown of a new mapping is 0";
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_A)));
    EXPECT_EQ(m.RepeatCountdown, 100);
    for (int tick = 1; tick <= 4; ++tick) {
        EXPECT_THAT(rig.Cycle(), IsEmpty()) << "tick " << tick;
        rig.Tick();
    }
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_A)));
    Press(false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Up(VK_A)));
    EXPECT_EQ(m.RepeatCountdown, 100);
    EXPECT_EQ(m.PressState, psIdle);
}

TEST_F(Outputs, MouseButtonIsHeldWhileEngaged) {
    rig.Map(Button1, "MOUSE_LEFT_CLICK");
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_LEFTDOWN)));
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    Press(false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_LEFTUP)));
}

TEST_F(Outputs, EachMouseButtonHasItsFlags) {
    rig.Map(ButtonSlot(0), "MOUSE_LEFT_CLICK");
    rig.Map(ButtonSlot(1), "MOUSE_RIGHT_CLICK");
    rig.Map(ButtonSlot(2), "MOUSE_MIDDLE_CLICK");
    for (int b = 0; b < 3; ++b)
        rig.Device().SetButton(b, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(0x0002), Mouse(0x0008), Mouse(0x0020)));
    for (int b = 0; b < 3; ++b)
        rig.Device().SetButton(b, false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(0x0004), Mouse(0x0010), Mouse(0x0040)));
}

TEST_F(Outputs, RepeatingClickGoesUpThenClicksOncePerPeriod) {
    rig.Map(Button1, "MOUSE_RIGHT_CLICK", 30); // period 33 ms: two ticks
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_RIGHTDOWN)));
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_RIGHTUP)));
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_RIGHTDOWN), Mouse(MOUSEEVENTF_RIGHTUP)));
    rig.Tick();
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    rig.Tick();
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_RIGHTDOWN), Mouse(MOUSEEVENTF_RIGHTUP)));
    Press(false);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_RIGHTUP)));
}

TEST_F(Outputs, WheelTurnsOneStepPerEngagement) {
    rig.Map(ButtonSlot(0), "MOUSE_WHEEL_FORWARD");
    rig.Map(ButtonSlot(1), "MOUSE_WHEEL_BACK");
    rig.Device().SetButton(0, true);
    rig.Device().SetButton(1, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_WHEEL, 0, 0, -120),
                                         Mouse(MOUSEEVENTF_WHEEL, 0, 0, 120)));
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    rig.Device().SetButton(0, false);
    EXPECT_THAT(rig.Cycle(), IsEmpty()) << "a wheel has no release";
    rig.Device().SetButton(0, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_WHEEL, 0, 0, -120)));
}

TEST_F(Outputs, RepeatingWheelTurnsOncePerPeriodAndNotOnTheRelease) {
    rig.Map(Button1, "MOUSE_WHEEL_BACK", 255);
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_WHEEL, 0, 0, 120)));
    EXPECT_THAT(rig.Cycle(), IsEmpty()) << "the first press turns into repetition";
    for (int i = 0; i < 3; ++i)
        EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_WHEEL, 0, 0, 120)));
}

TEST_F(Outputs, PointerMovesByTheMagnitudeOnEveryCycleWithoutPressState) {
    TControlMapping& left = rig.Map(AxisSlot(0, false), "MOUSE_MOVE_X_NEG");
    TControlMapping& right = rig.Map(AxisSlot(0, true), "MOUSE_MOVE_X_POS");
    TControlMapping& up = rig.Map(AxisSlot(1, false), "MOUSE_MOVE_Y_NEG");
    rig.Map(AxisSlot(1, true), "MOUSE_MOVE_Y_POS");
    rig.Device().state.lX = 10;
    rig.Device().state.lY = -7;
    for (int i = 0; i < 2; ++i)
        EXPECT_THAT(rig.Cycle(),
                    ElementsAre(Mouse(MOUSEEVENTF_MOVE, 10, 0), Mouse(MOUSEEVENTF_MOVE, 0, -7)));
    rig.Device().state.lX = -3; // below the threshold: movement ignores it
    rig.Device().state.lY = 2;
    EXPECT_THAT(rig.Cycle(),
                ElementsAre(Mouse(MOUSEEVENTF_MOVE, -3, 0), Mouse(MOUSEEVENTF_MOVE, 0, 2)));
    EXPECT_EQ(left.PressState, 0);
    EXPECT_EQ(right.PressState, 0);
    EXPECT_EQ(up.PressState, 0);
    rig.Device().state.lX = 0;
    rig.Device().state.lY = 0;
    EXPECT_THAT(rig.Cycle(), IsEmpty());
}

TEST_F(Outputs, ADigitalControlMovesThePointerOneUnitPerCycle) {
    rig.Map(Button1, "MOUSE_MOVE_Y_POS");
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_MOVE, 0, 1)));
    EXPECT_THAT(rig.Cycle(), ElementsAre(Mouse(MOUSEEVENTF_MOVE, 0, 1)));
}

TEST_F(Outputs, AppCommandCarriesItsNumberInTheHighWordOncePerEngagement) {
    rig.Map(Button1, "VOLUME_UP");
    rig.Map(ButtonSlot(1), "BROWSER_BACKWARD");
    rig.Device().SetButton(0, true);
    rig.Device().SetButton(1, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(AppCommand(0x000A0000), AppCommand(0x00010000)));
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    rig.Device().SetButton(0, false);
    EXPECT_THAT(rig.Cycle(), IsEmpty());
    rig.Device().SetButton(0, true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(AppCommand(0x000A0000)));
}

TEST_F(Outputs, PowerActionAsksForThePrivilegeThenCallsExitWindowsOnce) {
    rig.Map(Button1, "EWX_POWEROFF");
    Press(true);
    rig.Cycle();
    rig.Cycle();
    ASSERT_EQ(rig.session.calls.size(), 1u);
    EXPECT_EQ(rig.session.calls[0].flags, 8u);
    EXPECT_EQ(rig.session.calls[0].reason, 0xFFFFFFFFu);
    EXPECT_EQ(rig.session.privilegeRequests, 1);
}

TEST_F(Outputs, OnlyTheFourPowerCodesAreServed) {
    for (int code : {0, 1, 2, 8, 4, 3, 16}) {
        TControlMapping& m = rig.Map(ButtonSlot(code), "EWX_LOGOFF");
        m.Code = code;
        rig.Device().SetButton(code, true);
    }
    rig.Cycle();
    ASSERT_EQ(rig.session.calls.size(), 4u);
    EXPECT_EQ(rig.session.calls[0].flags, 0u);
    EXPECT_EQ(rig.session.calls[1].flags, 1u);
    EXPECT_EQ(rig.session.calls[2].flags, 2u);
    EXPECT_EQ(rig.session.calls[3].flags, 8u);
    EXPECT_EQ(rig.Slot(ButtonSlot(4)).PressState, psIdle) << "unserved codes keep their state";
}

// How many outputs one run sends: injected calls and power requests.
std::size_t Sent(EngineRig& rig) {
    rig.session.calls.clear();
    return rig.Cycle().size() + rig.session.calls.size();
}

// Only mouse buttons and pointer moves read the threshold themselves; the other kinds get the
// value cut below it, in both directions of an axis.
TEST(OutputsOnAxes, AReadingAtTheThresholdEngagesKeysAppCommandsAndPowerActions) {
    for (const char* function : {"VK_A", "VOLUME_UP", "EWX_LOGOFF"}) {
        for (LONG reading : {4, 5, -4, -5}) {
            EngineRig rig;
            rig.AddProfile();
            rig.AddController().Threshold = 5;
            rig.Map(AxisSlot(1, reading > 0), function);
            rig.Device().state.lY = reading;
            EXPECT_EQ(Sent(rig) > 0, std::abs(reading) == 5) << function << " at " << reading;
        }
    }
}

// With its own repeat a mapping fires on engaging, passes a silent release step when its
// countdown runs out, then fires once per period; letting go never fires.
TEST(OutputsRepeating, AppCommandsAndPowerActionsRepeatAndNeverFireOnRelease) {
    for (const char* function : {"VOLUME_UP", "EWX_LOGOFF"}) {
        EngineRig rig;
        rig.AddProfile();
        rig.AddController();
        rig.Map(Button1, function, 10); // a 100 ms period
        std::vector<std::size_t> sent;
        sent.push_back(Sent(rig)); // idle: loads the countdown
        rig.Device().SetButton(0, true);
        sent.push_back(Sent(rig));
        sent.push_back(Sent(rig));
        rig.Tick(4);
        for (int run = 0; run < 3; ++run)
            sent.push_back(Sent(rig));
        rig.Device().SetButton(0, false);
        sent.push_back(Sent(rig));
        EXPECT_EQ(sent, (std::vector<std::size_t>{0, 1, 0, 0, 1, 0, 0})) << function;
    }
}

TEST_F(Outputs, UnknownKindsDoNothing) {
    for (int kind : {0, 4, 32, -1}) {
        TControlMapping& m = rig.Map(ButtonSlot(0), "VK_A");
        m.Kind = kind;
        m.PressState = psIdle;
        Press(true);
        EXPECT_THAT(rig.Cycle(), IsEmpty()) << "kind " << kind;
        EXPECT_EQ(m.PressState, psIdle);
    }
}

TEST_F(Outputs, OnlyTheLowByteOfAKeyCodeIsTheVirtualKey) {
    TControlMapping& m = rig.Map(Button1, "VK_A");
    m.Code = 0x1241;
    Press(true);
    EXPECT_THAT(rig.Cycle(), ElementsAre(Down(VK_A), Up(VK_A)));
}

} // namespace
} // namespace padwright::test
