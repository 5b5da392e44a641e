#include "ControllerRig.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;

std::string Line(const char* prefix, HRESULT code) {
    return prefix + std::string(DirectInputErrorText(code));
}

class ActiveControllersTest : public ::testing::Test {
protected:
    ControllerRig rig;
    void SetUp() override {
        rig.Plug("xbox360-pad-xpad-ayaneo-air.evemu");
        rig.Plug("radiomaster-tx16s-opentx.evemu");
        rig.Plug("logitech-momo-racing.evemu");
        rig.access.StartDirectInput();
    }
};

TEST_F(ActiveControllersTest, AddOpensEnumeratesAndListsWithoutTouchingReading) {
    rig.Add(0);
    ASSERT_EQ(rig.lists.ActiveJoysticks.count(), 1);
    const TJoystick& c = rig.Active(0);
    EXPECT_TRUE(c.Acquired);
    ASSERT_NE(c.Device, nullptr);
    EXPECT_EQ(rig.access.View.cmbDevices.Items,
              std::vector<std::string>{"Name: Microsoft X-Box 360 pad -- ID: 0"});
    EXPECT_EQ(rig.access.View.cmbDevices.ItemIndex, -1);
    EXPECT_EQ(c.XCount + c.YCount + c.ZCount + c.RxCount + c.RyCount + c.RzCount, 6);
    EXPECT_EQ(c.XName, "X Axis");
    EXPECT_EQ(c.RzName, "Z Rotation");
    EXPECT_EQ(c.SliderCount, 0);
    EXPECT_EQ(c.POVCount, 1);
    EXPECT_EQ(c.POVNames[0], "Hat Switch");
    EXPECT_EQ(c.POVMax[0], 7); // eight-way
    EXPECT_EQ(c.ButtonCount, 11);
    EXPECT_EQ(c.ButtonNames[0], "Button: Button 0");
    EXPECT_EQ(c.ButtonNames[10], "Button: Button 10");
    EXPECT_TRUE(rig.host.switches.empty());
    EXPECT_TRUE(rig.host.lines.empty());

    // The axis properties reached the device: full deflection reads MaxVal.
    rig.kernel->Push(0, {{EV_ABS, ABS_X, 32767}});
    DIJOYSTATE2 s;
    ASSERT_EQ(c.Device->GetDeviceState(sizeof s, &s), DI_OK);
    EXPECT_EQ(s.lX, 10);
}

TEST_F(ActiveControllersTest, SliderNamesAndCounts) {
    rig.Add(1);
    const TJoystick& c = rig.Active(0);
    EXPECT_EQ(c.SliderCount, 1);
    EXPECT_EQ(c.SliderNames[0], "Slider");
    EXPECT_EQ(c.ButtonCount, 24);
    EXPECT_EQ(c.POVCount, 0);
}

TEST_F(ActiveControllersTest, DuplicateAndLimitAreIgnoredSilently) {
    rig.lists.MaxJoysticks = 2;
    rig.Add(0);
    rig.Add(0); // the same controller again
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 1);
    rig.Add(1);
    rig.Add(2); // list full
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 2);
    EXPECT_EQ(rig.access.View.cmbDevices.Items.size(), 2u);
    EXPECT_TRUE(rig.host.lines.empty());

    // Same GUID but another name or ID is a different controller to the check.
    rig.lists.MaxJoysticks = 4;
    rig.Found(0).JoystickID = 7;
    rig.Add(0);
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 3);
}

TEST_F(ActiveControllersTest, AddOfAVanishedControllerListsItUnopenedWithOneLine) {
    rig.kernel->Unplug(2);
    rig.Add(2);
    ASSERT_EQ(rig.lists.ActiveJoysticks.count(), 1);
    EXPECT_FALSE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.Active(0).ButtonCount, 0);
    EXPECT_EQ(rig.access.View.cmbDevices.Items.size(), 1u);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{Line("Failed to create device: ", DIERR_DEVICENOTREG)});

    // Plugged in again, the next Start opens it.
    rig.kernel->Replug(2);
    rig.access.popItemStartClick();
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.Active(0).ButtonCount, 10);
    EXPECT_EQ(rig.host.switches, std::vector<std::string>{"ResumeReading"});
}

TEST_F(ActiveControllersTest, AddWithoutDirectInputIsAFailedCreate) {
    rig.access.ReleaseDirectInput();
    rig.Add(0);
    EXPECT_FALSE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{Line("Failed to create device: ", DIERR_NOTINITIALIZED)});
}

TEST_F(ActiveControllersTest, StopClosesAndStartReenumeratesFromZero) {
    rig.Add(0);
    rig.Add(2);
    auto firstDevice = rig.Active(0).Device;
    rig.access.popItemStopClick();
    EXPECT_EQ(rig.host.switches, std::vector<std::string>{"PauseReading"});
    EXPECT_FALSE(rig.Active(0).Acquired);
    EXPECT_FALSE(rig.Active(1).Acquired);
    EXPECT_EQ(rig.Active(0).Device, firstDevice); // stays created
    DIJOYSTATE2 s;
    EXPECT_EQ(firstDevice->GetDeviceState(sizeof s, &s), DIERR_NOTACQUIRED);

    rig.access.popItemStartClick();
    EXPECT_EQ(rig.host.switches.back(), "ResumeReading");
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_NE(rig.Active(0).Device, firstDevice); // created anew
    EXPECT_EQ(rig.Active(0).ButtonCount, 11);     // counted again, not added up
    EXPECT_EQ(rig.Active(0).XCount, 1);
    EXPECT_EQ(rig.Active(1).ButtonCount, 10);
    EXPECT_TRUE(rig.host.lines.empty());
}

TEST_F(ActiveControllersTest, StartWithAllOpenOnlySwitchesReading) {
    rig.Add(0);
    auto device = rig.Active(0).Device;
    rig.access.popItemStartClick();
    EXPECT_EQ(rig.Active(0).Device, device);
    EXPECT_EQ(rig.host.switches, std::vector<std::string>{"ResumeReading"});
}

TEST_F(ActiveControllersTest, FailedReopenOnStartKeepsTheLastCountsAndNames) {
    rig.Add(0);
    rig.Add(1);
    rig.access.popItemStopClick();
    rig.kernel->Unplug(0);
    rig.access.popItemStartClick();
    EXPECT_FALSE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.Active(0).ButtonCount, 11);
    EXPECT_EQ(rig.Active(0).XName, "X Axis");
    EXPECT_TRUE(rig.Active(1).Acquired); // the loop went on
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{Line("Failed to create device: ", DIERR_DEVICENOTREG)});
}

TEST_F(ActiveControllersTest, RemoveInTheMiddle) {
    rig.Add(0);
    rig.Add(1);
    rig.Add(2);
    auto removed = rig.Active(1).Device;
    rig.access.View.cmbDevices.ItemIndex = 1;
    rig.host.SelectionCleared();
    rig.access.cmdRemoveDeviceClick();
    ASSERT_EQ(rig.lists.ActiveJoysticks.count(), 2);
    EXPECT_EQ(rig.Active(0).Name, "Microsoft X-Box 360 pad");
    EXPECT_EQ(rig.Active(1).Name, "Logitech  Logitech MOMO Racing ");
    EXPECT_EQ(rig.access.View.cmbDevices.Items,
              (std::vector<std::string>{"Name: Microsoft X-Box 360 pad -- ID: 0",
                                        "Name: Logitech  Logitech MOMO Racing  -- ID: 2"}));
    EXPECT_EQ(rig.access.View.cmbDevices.ItemIndex, -1);
    EXPECT_EQ(rig.removeSelectionRuns, 2);
    EXPECT_FALSE(rig.access.View.cmdRemoveDevice.Enabled);
    DIJOYSTATE2 s;
    EXPECT_EQ(removed->GetDeviceState(sizeof s, &s), DIERR_NOTACQUIRED); // unacquired
    EXPECT_TRUE(rig.host.switches.empty());

    rig.access.cmdRemoveDeviceClick(); // nothing selected: nothing happens
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 2);
}

TEST_F(ActiveControllersTest, AxisPropertyStepAppliesNewSettings) {
    rig.Add(0);
    TJoystick& c = rig.Active(0);
    c.MaxVal = 100;
    c.DeadZone = 0;
    rig.access.ApplyAxisProperties(0);
    rig.kernel->Push(0, {{EV_ABS, ABS_X, 16384}, {EV_ABS, ABS_RZ, 255}});
    DIJOYSTATE2 s;
    ASSERT_EQ(c.Device->GetDeviceState(sizeof s, &s), DI_OK);
    EXPECT_EQ(s.lX, 50);
    EXPECT_EQ(s.lRz, 100);
    EXPECT_EQ(c.ButtonCount, 11); // counts are not touched by the step
}

} // namespace
} // namespace padwright
