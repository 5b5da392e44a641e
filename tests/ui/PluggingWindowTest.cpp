// The window's part in following plugging: its reading switch and its found-list widget.
#include "UiHarness.h"
#include "engine/Catalogue.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace padwright::test {
namespace {

// A pad that is active, has a profile and is read.
struct ReadPad {
    Harness h;
    TfrmMain& w = *h.window;
    int node = h.Plug("usb-gamepad-0079-0011.evemu");

    ReadPad() {
        w.StartDirectInput();
        h.AddProfile("Pad");
        w.Controllers.View.cmbFoundDevices.ItemIndex = 0;
        w.cmbFoundDevicesClick();
        w.cmdAddDeviceClick();
        h.PickDevice(0);
        h.PickProfile(0);
        w.popItemStartClick();
    }
    // The pad drops out and the cycle finds nothing left to read.
    void DropOut() {
        h.kernel->Unplug(node);
        w.tmrDataCollectTimer();
        ASSERT_FALSE(w.IsReading());
        w.Controllers.FollowPlugging(false);
        node = h.kernel->Replug(node);
    }
};

TEST(PluggingWindow, ReadingStoppedForWantOfControllersResumesWhenOneReturns) {
    ReadPad pad;
    ASSERT_TRUE(pad.w.IsReading());
    pad.DropOut();
    EXPECT_EQ(pad.w.cmbFoundDevices->count(), 0);
    pad.w.Controllers.FollowPlugging(false);
    EXPECT_TRUE(pad.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_TRUE(pad.w.IsReading());
    EXPECT_EQ(pad.w.cmbFoundDevices->count(), 1);
}

TEST(PluggingWindow, NothingResumesAfterStopOrAPauseOfAnotherKind) {
    ReadPad stopped;
    stopped.w.popItemStopClick();
    stopped.DropOut();
    stopped.w.Controllers.FollowPlugging(false);
    EXPECT_FALSE(stopped.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_FALSE(stopped.w.IsReading());

    // Reading paused by the profile list, not by the cycle: a returning pad leaves it off.
    ReadPad paused;
    paused.h.kernel->Unplug(paused.node);
    paused.w.PauseReading();
    paused.node = paused.h.kernel->Replug(paused.node);
    paused.w.Controllers.FollowPlugging(false);
    EXPECT_TRUE(paused.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_FALSE(paused.w.IsReading());
}

} // namespace
} // namespace padwright::test
