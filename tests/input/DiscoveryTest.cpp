#include "ControllerRig.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;

const std::string CreateFailed = "Failed to create device: ";

TEST(DiscoveryTest, NoControllerMeansEmptyListNoLogAndNoAdd) {
    ControllerRig rig;
    rig.Plug("ds4-bt-touchpad.evemu");
    rig.Plug("logitech-g13-gaming-keys.evemu");
    rig.access.StartDirectInput();
    EXPECT_TRUE(rig.lists.FoundJoysticks.empty());
    EXPECT_TRUE(rig.access.View.cmbFoundDevices.Items.empty());
    EXPECT_TRUE(rig.host.lines.empty());
    EXPECT_FALSE(rig.access.View.cmdAddDevice.Enabled);

    rig.kernel->SetInputDirectory(false); // a machine without /dev/input
    rig.access.cmdRefreshClick();
    EXPECT_TRUE(rig.lists.FoundJoysticks.empty());
    EXPECT_TRUE(rig.host.lines.empty());
}

TEST(DiscoveryTest, FoundRecordsCarryTheDefaultsAndTheListText) {
    ControllerRig rig;
    rig.Plug("ds4-bt-touchpad.evemu");
    rig.Plug("ds4-bt-gamepad.evemu");
    rig.Plug("ds4-bt-motion-sensors.evemu");
    rig.Plug("logitech-momo-racing.evemu");
    rig.access.StartDirectInput();
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 2);
    EXPECT_EQ(rig.access.View.cmbFoundDevices.Items,
              (std::vector<std::string>{"Name: Wireless Controller -- ID: 0",
                                        "Name: Logitech  Logitech MOMO Racing  -- ID: 1"}));
    const TJoystick& f = rig.Found(1);
    EXPECT_EQ(f.Name, "Logitech  Logitech MOMO Racing ");
    EXPECT_EQ(f.JoystickID, 1u);
    EXPECT_EQ(
        GuidToString(f.Guid),
        GuidToString(InstanceGuid(testing::Fixture("logitech-momo-racing.evemu").description)));
    EXPECT_EQ(f.MaxVal, 10);
    EXPECT_EQ(f.DeadZone, 10);
    EXPECT_EQ(f.Threshold, 5);
    EXPECT_TRUE(f.RepeatKeys);
    EXPECT_EQ(f.Profile, 0);
    EXPECT_FALSE(f.Acquired);
    EXPECT_EQ(f.Device, nullptr); // the temporary device is released again
    EXPECT_EQ(f.ButtonCount, 0);
    EXPECT_TRUE(rig.host.lines.empty());
}

TEST(DiscoveryTest, NamesAreUtf8CutInTheRecordButNotInTheList) {
    const struct {
        std::string reported, record, listed;
    } cases[] = {
        // an e-acute across byte 255
        {std::string(254, 'a') + "\xC3\xA9" + "tail", std::string(254, 'a'),
         std::string(254, 'a') + "\xC3\xA9" + "tail"},
        // bytes that are no UTF-8 (Latin-1, a cut sequence, a surrogate) become U+FFFD
        {"Pad\xE9", "Pad\xEF\xBF\xBD", "Pad\xEF\xBF\xBD"},
        {"\xC3 x \xED\xA0\x80", "\xEF\xBF\xBD x \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
         "\xEF\xBF\xBD x \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"Pad \xE2\x82\xAC \xF0\x9F\x8E\xAE", "Pad \xE2\x82\xAC \xF0\x9F\x8E\xAE",
         "Pad \xE2\x82\xAC \xF0\x9F\x8E\xAE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reported);
        ControllerRig rig;
        EvdevDescription d = testing::Fixture("usb-gamepad-0079-0011.evemu").description;
        d.name = c.reported;
        rig.kernel->Add(d);
        rig.access.StartDirectInput();
        ASSERT_EQ(rig.lists.FoundJoysticks.count(), 1);
        EXPECT_EQ(rig.Found(0).Name, c.record);
        EXPECT_EQ(rig.access.View.cmbFoundDevices.Items[0], "Name: " + c.listed + " -- ID: 0");
    }
}

TEST(DiscoveryTest, UnreadableControllerIsLoggedOnceAndLeftOut) {
    ControllerRig rig;
    rig.Plug("usb-gamepad-0079-0011.evemu");
    const int denied = rig.Plug("logitech-momo-racing.evemu");
    rig.Plug("xbox360-pad-xpad-ayaneo-air.evemu");
    rig.kernel->SetDenied(denied, true);
    rig.access.StartDirectInput();
    ASSERT_EQ(rig.host.lines.size(), 1u);
    EXPECT_EQ(rig.host.lines[0], CreateFailed + std::string(DirectInputErrorText(E_ACCESSDENIED)));
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 2);
    EXPECT_EQ(rig.Found(0).Name, "USB Gamepad ");
    EXPECT_EQ(rig.Found(1).Name, "Microsoft X-Box 360 pad");
    // Joystick IDs count the unreadable controller: they are positions among controllers.
    EXPECT_EQ(rig.Found(1).JoystickID, 2u);
}

TEST(DiscoveryTest, FailedStartLogsOnceAndRefreshCanRetry) {
    ControllerRig rig;
    rig.Plug("usb-gamepad-0079-0011.evemu");
    bool fail = true;
    ControllerAccess access(rig.lists, rig.host, [&](std::shared_ptr<IDirectInput8>& out) {
        if (fail)
            return DIERR_OUTOFMEMORY;
        out = CreateFixtureDirectInput(rig.kernel);
        return DI_OK;
    });
    access.cmdRefreshClick();
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{"Failed to start DirectInput: " +
                                       std::string(DirectInputErrorText(DIERR_OUTOFMEMORY))});
    EXPECT_TRUE(rig.lists.FoundJoysticks.empty());
    EXPECT_EQ(access.DirectInput(), nullptr);
    EXPECT_TRUE(access.View.cmdRefresh.Enabled);
    fail = false;
    access.cmdRefreshClick();
    EXPECT_EQ(rig.lists.FoundJoysticks.count(), 1);
}

TEST(DiscoveryTest, RefreshIsRepeatableAndListsNewControllers) {
    ControllerRig rig;
    rig.Plug("logitech-momo-racing.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    rig.access.View.cmbDevices.ItemIndex = 0;
    rig.host.SelectionCleared();
    const auto before = rig.access.View.cmbFoundDevices.Items;

    rig.access.cmdRefreshClick();
    EXPECT_EQ(rig.access.View.cmbFoundDevices.Items, before);
    EXPECT_EQ(rig.access.View.cmbFoundDevices.ItemIndex, -1);
    EXPECT_FALSE(rig.access.View.cmdAddDevice.Enabled);
    EXPECT_TRUE(rig.access.View.cmdRemoveDevice.Enabled); // the active list keeps its selection
    EXPECT_TRUE(rig.access.View.cmdRefresh.Enabled);

    rig.Plug("radiomaster-tx16s-opentx.evemu");
    rig.access.cmdRefreshClick();
    ASSERT_EQ(rig.access.View.cmbFoundDevices.Items.size(), 2u);
    rig.Add(1);
    ASSERT_EQ(rig.lists.ActiveJoysticks.count(), 2);
    EXPECT_EQ(rig.Active(1).Name, "OpenTX RM TX16S Joystick");
    // Refresh touches neither the active controllers nor the reading switch.
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.access.View.cmbDevices.ItemIndex, 0);
    EXPECT_TRUE(rig.host.switches.empty());
}

TEST(DiscoveryTest, AFailingLogLineDoesNotLeaveRefreshDisabled) {
    struct ThrowingHost : testing::LoggingHost {
        void LogDirectInputError(std::string_view, HRESULT) override { throw Error("disk full"); }
    } host;
    TLists lists;
    ControllerAccess access(lists, host,
                            [](std::shared_ptr<IDirectInput8>&) { return DIERR_GENERIC; });
    EXPECT_THROW(access.cmdRefreshClick(), Error);
    EXPECT_TRUE(access.View.cmdRefresh.Enabled);
}

} // namespace
} // namespace padwright
