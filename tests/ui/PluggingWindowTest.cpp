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
        AssignFunction(h.AddProfile("Pad").Mappings[ButtonSlot(0)], "VK_A");
        w.core.Controllers.View.cmbFoundDevices.ItemIndex = 0;
        w.cmbFoundDevicesClick();
        w.cmdAddDeviceClick();
        h.PickDevice(0);
        h.PickProfile(0);
        h.lists.ActiveJoysticks[0].RepeatKeys = false;
        w.popItemStartClick();
    }
    int KeyDowns() const {
        int n = 0;
        for (const InjectedCall& call : h.injector.calls)
            n += call.type == InjectedCall::Key && call.vk == 0x41 && (call.flags & 2) == 0;
        return n;
    }
    // The pad drops out and the cycle finds nothing left to read.
    void DropOut() {
        h.kernel->Unplug(node);
        w.tmrDataCollectTimer();
        ASSERT_FALSE(w.core.ReadingOn());
        w.core.Controllers.FollowPlugging(false);
        node = h.kernel->Replug(node);
    }
};

TEST(PluggingWindow, ReadingStoppedForWantOfControllersResumesWhenOneReturns) {
    ReadPad pad;
    ASSERT_TRUE(pad.w.core.ReadingOn());
    pad.h.kernel->Push(pad.node, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    pad.w.tmrDataCollectTimer();
    ASSERT_EQ(pad.KeyDowns(), 1);

    // Held across the drop-out: let go then, pressed anew when first read after the return.
    pad.DropOut();
    EXPECT_EQ(pad.w.cmbFoundDevices->count(), 0);
    pad.w.core.Controllers.FollowPlugging(false);
    EXPECT_TRUE(pad.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_TRUE(pad.w.core.ReadingOn());
    EXPECT_EQ(pad.w.cmbFoundDevices->count(), 1);
    pad.w.tmrDataCollectTimer();
    EXPECT_EQ(pad.KeyDowns(), 2);
}

TEST(PluggingWindow, NothingResumesAfterStopOrAPauseOfAnotherKind) {
    ReadPad stopped;
    stopped.w.popItemStopClick();
    stopped.DropOut();
    stopped.w.core.Controllers.FollowPlugging(false);
    EXPECT_FALSE(stopped.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_FALSE(stopped.w.core.ReadingOn());

    // Reading paused by the profile list, not by the cycle: a returning pad leaves it off.
    ReadPad paused;
    paused.h.kernel->Unplug(paused.node);
    paused.w.core.PauseReading();
    paused.node = paused.h.kernel->Replug(paused.node);
    paused.w.core.Controllers.FollowPlugging(false);
    EXPECT_TRUE(paused.h.lists.ActiveJoysticks[0].Acquired);
    EXPECT_FALSE(paused.w.core.ReadingOn());
}

} // namespace
} // namespace padwright::test
