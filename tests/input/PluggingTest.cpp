// The found list and the active controllers following plugging, over the in-memory kernel.
#include "ControllerRig.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;
using Result = ControllerAccess::PlugResult;

struct PlugRig : ControllerRig {
    int refreshes = 0;
    PlugRig() {
        host.onViewChanged = [this] { ++refreshes; };
    }
    // An active, open pad.
    int ActivePad() {
        const int node = Plug("usb-gamepad-0079-0011.evemu");
        access.StartDirectInput();
        Add(0);
        access.popItemStartClick();
        return node;
    }
};

TEST(PluggingTest, FoundListFollowsControllersOnlyAndKeepsTheSelection) {
    PlugRig rig;
    const int wheel = rig.Plug("logitech-momo-racing.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    const GUID wheelGuid = rig.Found(0).Guid;

    // A pad that arrives as three nodes adds one controller; the wheel stays selected.
    rig.Plug("ds4-bt-touchpad.evemu");
    rig.Plug("ds4-bt-gamepad.evemu");
    rig.Plug("ds4-bt-motion-sensors.evemu");
    rig.refreshes = 0;
    const int scans = rig.kernel->Scans();
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_EQ(rig.kernel->Scans(), scans + 1) << "the scan that saw the change also lists it";
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 2);
    ASSERT_EQ(rig.access.View.cmbFoundDevices.Items.size(), 2u);
    EXPECT_EQ(rig.access.View.cmbFoundDevices.ItemIndex, 0);
    EXPECT_TRUE(rig.access.View.cmdAddDevice.Enabled);
    EXPECT_TRUE(rig.access.View.cmdRefresh.Enabled);
    const int refreshes = rig.refreshes;
    EXPECT_GE(refreshes, 1);

    // Nothing a controller: no refresh at all.
    rig.access.FollowPlugging(false);
    EXPECT_EQ(rig.refreshes, refreshes);

    // The selected pad moves up when the wheel goes, and stays selected.
    rig.access.View.cmbFoundDevices.ItemIndex = 1;
    rig.access.cmbFoundDevicesClick();
    const GUID padGuid = rig.Found(1).Guid;
    rig.kernel->Unplug(wheel);
    rig.access.FollowPlugging(false);
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 1);
    EXPECT_TRUE(rig.Found(0).Guid == padGuid);
    EXPECT_EQ(rig.access.View.cmbFoundDevices.ItemIndex, 0);

    // The selected controller gone: nothing selected, Add disabled, as after Refresh.
    rig.kernel->Replug(wheel);
    rig.access.FollowPlugging(false);
    EXPECT_TRUE(rig.Found(0).Guid == padGuid || rig.Found(1).Guid == padGuid);
    EXPECT_TRUE(rig.Found(0).Guid == wheelGuid || rig.Found(1).Guid == wheelGuid);
    EXPECT_TRUE(rig.host.lines.empty());
}

TEST(PluggingTest, DeniedNodeIsTriedAgainAndLoggedOnlyAtTheLastTry) {
    PlugRig rig;
    const int node = rig.ActivePad();
    rig.kernel->Unplug(node);
    rig.access.FollowPlugging(false);
    rig.host.lines.clear();

    // Back, but udev has not opened it up yet.
    const int back = rig.kernel->Replug(node);
    rig.kernel->SetDenied(back, true);
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::TryAgain);
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::TryAgain);
    EXPECT_TRUE(rig.host.lines.empty());
    rig.kernel->SetDenied(back, false);
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_TRUE(rig.host.lines.empty());

    // Never opened up: one line at the last try, and none for later plugging.
    rig.kernel->Unplug(back);
    const int denied = rig.kernel->Replug(back);
    rig.kernel->SetDenied(denied, true);
    rig.host.lines.clear();
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::TryAgain);
    EXPECT_EQ(rig.access.FollowPlugging(true), Result::Done);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{"Failed to create device: " +
                                       std::string(DirectInputErrorText(E_ACCESSDENIED))});
    rig.Plug("ds4-bt-touchpad.evemu");
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_EQ(rig.host.lines.size(), 1u);
}

} // namespace
} // namespace padwright
