// A controller that vanishes while it is read, and comes back.
#include "ControllerRig.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;

int KeyDowns(const RecordingInjector& injector, std::uint8_t vk, bool up) {
    int n = 0;
    for (const InjectedCall& call : injector.calls)
        n += call.type == InjectedCall::Key && call.vk == vk && ((call.flags & 2) != 0) == up;
    return n;
}

TEST(UnplugTest, DropsOutReleasesAndIsReadAgainAfterReplug) {
    ControllerRig rig;
    RecordingInjector injector;
    RecordingSession session;
    Engine engine(rig.lists, injector, session, rig.host);
    const int node = rig.Plug("usb-gamepad-0079-0011.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    TJoystick& pad = rig.Active(0);
    const GUID guid = pad.Guid;
    rig.lists.Profiles.push_back(NewProfile("Pad"));
    AssignFunction(rig.lists.Profiles[0].Mappings[ButtonSlot(0)], "VK_A");
    pad.Profile = 1;
    pad.RepeatKeys = false;
    rig.access.popItemStartClick();

    rig.kernel->Push(node, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    engine.CollectData();
    EXPECT_EQ(KeyDowns(injector, 0x41, false), 1);

    rig.kernel->Unplug(node);
    engine.CollectData();
    EXPECT_FALSE(pad.Acquired);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{"Failed to poll device: " +
                                       std::string(DirectInputErrorText(DIERR_INPUTLOST))});
    EXPECT_EQ(KeyDowns(injector, 0x41, true), 1); // the held key is let go
    EXPECT_EQ(rig.host.switches.back(), "PauseReading");

    // Still in the active list, so Add does nothing; Refresh no longer lists it.
    rig.access.cmdRefreshClick();
    EXPECT_TRUE(rig.lists.FoundJoysticks.empty());

    rig.kernel->Replug(node);
    rig.access.cmdRefreshClick();
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 1);
    EXPECT_TRUE(rig.Found(0).Guid == guid);
    rig.Add(0);
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 1);

    rig.access.popItemStopClick();
    rig.access.popItemStartClick();
    ASSERT_TRUE(pad.Acquired);
    rig.kernel->Push(node + 1, {{EV_KEY, BTN_TRIGGER, 1}});
    rig.host.lines.clear();
    engine.CollectData();
    EXPECT_TRUE(rig.host.lines.empty());
    EXPECT_EQ(KeyDowns(injector, 0x41, false), 2); // read again, from the new node
}

// Two pads, the second one active; the first is unplugged and the list refreshed: the active
// pad is still listed under its own ID, so adding it again adds nothing.
TEST(UnplugTest, AnActiveControllerKeepsItsIdWhenAnotherIsUnplugged) {
    ControllerRig rig;
    const int first = rig.Plug("logitech-momo-racing.evemu");
    rig.Plug("usb-gamepad-0079-0011.evemu");
    rig.access.StartDirectInput();
    rig.Add(1);
    ASSERT_EQ(rig.Active(0).JoystickID, 1u);
    rig.kernel->Unplug(first);
    rig.access.cmdRefreshClick();
    ASSERT_EQ(rig.lists.FoundJoysticks.count(), 1);
    EXPECT_EQ(rig.Found(0).JoystickID, 1u);
    rig.Add(0);
    EXPECT_EQ(rig.lists.ActiveJoysticks.count(), 1);
}

// A replugged pad whose old node now belongs to a device this user may not read (here a
// keyboard) is found at its new node by Start, with one rescan however many remembered
// controllers are missing.
TEST(UnplugTest, StartFindsAReplugEvenWhenItsOldNodeIsDenied) {
    ControllerRig rig;
    const int node = rig.Plug("usb-gamepad-0079-0011.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    rig.lists.ActiveJoysticks.push_back(rig.Active(0));
    rig.Active(1).Guid = InstanceGuid(testing::Fixture("logitech-momo-racing.evemu").description);
    rig.Active(1).Device.reset();
    rig.access.popItemStopClick();

    rig.kernel->Unplug(node);
    rig.kernel->Replug(node);
    rig.kernel->Add(testing::Fixture("logitech-g13-gaming-keys.evemu").description, {}, node);
    rig.kernel->SetDenied(node, true);
    const int scans = rig.kernel->Scans();
    rig.host.lines.clear();
    rig.access.popItemStartClick();
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_FALSE(rig.Active(1).Acquired);
    EXPECT_EQ(rig.kernel->Scans(), scans + 1);
    EXPECT_EQ(rig.host.lines,
              std::vector<std::string>{"Failed to create device: " +
                                       std::string(DirectInputErrorText(DIERR_DEVICENOTREG))});
}

TEST(UnplugTest, RemovingAControllerLetsGoOfItsHeldKeys) {
    ControllerRig rig;
    RecordingInjector injector;
    RecordingSession session;
    Engine engine(rig.lists, injector, session, rig.host);
    rig.host.onReleaseHeld = [&](const TJoystick& j) {
        if (TProfile* profile = rig.lists.ProfileOf(j))
            engine.EvaluateController(j, *profile, NeutralJoyState());
    };
    const int node = rig.Plug("usb-gamepad-0079-0011.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    rig.lists.Profiles.push_back(NewProfile("Pad"));
    AssignFunction(rig.lists.Profiles[0].Mappings[ButtonSlot(0)], "VK_A");
    rig.Active(0).Profile = 1;
    rig.Active(0).RepeatKeys = false;
    rig.kernel->Push(node, {{EV_KEY, BTN_TRIGGER, 1}});
    engine.CollectData();
    ASSERT_EQ(KeyDowns(injector, 0x41, false), 1);

    rig.access.View.cmbDevices.ItemIndex = 0;
    rig.access.cmdRemoveDeviceClick();
    EXPECT_TRUE(rig.lists.ActiveJoysticks.empty());
    EXPECT_EQ(KeyDowns(injector, 0x41, true), 1);
}

TEST(UnplugTest, StateReadFailureReacquiresWithoutHanging) {
    ControllerRig rig;
    const int node = rig.Plug("logitech-momo-racing.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    TJoystick& wheel = rig.Active(0);
    rig.kernel->Unplug(node);
    DIJOYSTATE2 s;
    EXPECT_EQ(wheel.Device->GetDeviceState(sizeof s, &s), DIERR_INPUTLOST);
    // The cycle repeats Acquire while it answers "input lost": an unplugged device says so.
    EXPECT_EQ(wheel.Device->Acquire(), DIERR_UNPLUGGED);
}

} // namespace
} // namespace padwright
