// A controller opened for reading tells which descriptor signals its input: readable while
// input is pending, still readable once the device is gone.
#include "ControllerRig.h"
#include "platform/dinput/EvdevDevice.h"
#include "platform/dinput/WakeSignal.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

using testing::ControllerRig;

bool Readable(WaitHandle handle) {
    return IsSignalled(handle);
}

TEST(EventNotification, OpeningSetsItBeforeAcquireAndItSignalsPendingInputAndUnplugging) {
    ControllerRig rig;
    const int node = rig.Plug("usb-gamepad-0079-0011.evemu");
    rig.access.StartDirectInput();
    rig.Add(0);
    TJoystick& pad = rig.Active(0);
    ASSERT_TRUE(pad.Acquired);
    const WaitHandle fd = pad.Notification;
    ASSERT_NE(fd, NoWaitHandle);
    int again = -1;
    EXPECT_EQ(pad.Device->SetEventNotification(&again), DIERR_ACQUIRED);
    EXPECT_EQ(again, -1);

    EXPECT_FALSE(Readable(fd));
    rig.kernel->Push(node, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_TRUE(Readable(fd));
    EXPECT_EQ(pad.Device->Poll(), DI_OK);
    EXPECT_FALSE(Readable(fd)) << "read input must not keep waking the reader";

    rig.kernel->Unplug(node);
    EXPECT_TRUE(Readable(fd));
    EXPECT_EQ(pad.Device->Poll(), DIERR_INPUTLOST);
    EXPECT_TRUE(Readable(fd)) << "a gone device stays signalled, as a hung-up node does";
}

TEST(EventNotification, ANodeThatCannotSignalLeavesTheControllerPolled) {
    struct SilentNode : IEvdevNode {
        EvdevDescription description;
        const EvdevDescription& Description() const override { return description; }
        ReadStatus Next(EvdevEvent&) override { return ReadStatus::Empty; }
    };
    EvdevDevice device(std::make_unique<SilentNode>(), 0);
    int fd = -1;
    EXPECT_EQ(device.SetEventNotification(&fd), DI_POLLEDDEVICE);
    EXPECT_EQ(fd, -1);
    EXPECT_EQ(device.SetEventNotification(nullptr), DI_OK);
}

} // namespace
} // namespace padwright
