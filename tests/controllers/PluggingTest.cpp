// The found list and the active controllers following plugging, over the in-memory kernel.
#include "ControllerRig.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;
using Result = ControllerAccess::PlugResult;

// A rig whose reading switch behaves like the window's, with an engine reading it.
struct PlugRig : ControllerRig {
    RecordingInjector injector;
    RecordingSession session;
    Engine engine{lists, injector, session, host};
    bool reading = false;
    int refreshes = 0;

    PlugRig() {
        access.ReadingOn = [this] { return reading; };
        access.ViewChanged = [this] { ++refreshes; };
        access.ReleaseHeld = [this](const TJoystick& j) {
            if (TProfile* profile = lists.ProfileOf(j))
                engine.EvaluateController(j, *profile, Engine::NeutralState());
        };
    }
    // One cycle as the window runs it.
    void Cycle() {
        const std::size_t before = host.switches.size();
        engine.CollectData();
        if (host.switches.size() > before && host.switches.back() == "PauseReading") {
            reading = false;
            access.NothingReadPaused();
        }
    }
    void Start() {
        access.popItemStartClick();
        reading = true;
    }
    int KeyDowns() const {
        int n = 0;
        for (const InjectedCall& call : injector.calls)
            n += call.type == InjectedCall::Key && call.vk == 0x41 && (call.flags & 2) == 0;
        return n;
    }
    // An active pad whose button 0 types A, read from the start.
    int ActivePad() {
        const int node = Plug("usb-gamepad-0079-0011.evemu");
        access.StartDirectInput();
        Add(0);
        lists.Profiles.push_back(NewProfile("Pad"));
        AssignFunction(lists.Profiles[0].Mappings[ButtonSlot(0)], "VK_A");
        Active(0).Profile = 1;
        Active(0).RepeatKeys = false;
        Start();
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
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
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

TEST(PluggingTest, ReturningControllerIsReopenedAndReadingResumes) {
    PlugRig rig;
    const int node = rig.ActivePad();
    rig.kernel->Push(node, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    rig.Cycle();
    ASSERT_EQ(rig.KeyDowns(), 1);

    // Held across the drop-out: released then, pressed anew when first read after the return.
    rig.kernel->Unplug(node);
    rig.Cycle();
    ASSERT_FALSE(rig.Active(0).Acquired);
    ASSERT_FALSE(rig.reading);
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_TRUE(rig.lists.FoundJoysticks.empty());

    rig.kernel->Replug(node);
    rig.host.lines.clear();
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_EQ(rig.host.switches.back(), "ResumeReading");
    EXPECT_EQ(rig.lists.FoundJoysticks.count(), 1);
    EXPECT_TRUE(rig.host.lines.empty());
    rig.reading = true;
    rig.Cycle();
    EXPECT_EQ(rig.KeyDowns(), 2);
}

TEST(PluggingTest, DeniedNodeIsTriedAgainAndLoggedOnlyAtTheLastTry) {
    PlugRig rig;
    const int node = rig.ActivePad();
    rig.kernel->Unplug(node);
    rig.Cycle();
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
    rig.Cycle();
    const int denied = rig.kernel->Replug(back);
    rig.kernel->SetDenied(denied, true);
    rig.host.lines.clear();
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::TryAgain);
    EXPECT_EQ(rig.access.FollowPlugging(true), Result::Done);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{"Failed to create device: " +
                                       std::string(DirectInputErrorText(E_ACCESSDENIED))});
    EXPECT_FALSE(rig.Active(0).Acquired);
    rig.Plug("ds4-bt-touchpad.evemu");
    EXPECT_EQ(rig.access.FollowPlugging(false), Result::Done);
    EXPECT_EQ(rig.host.lines.size(), 1u);
}

} // namespace
} // namespace padwright
