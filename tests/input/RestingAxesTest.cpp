// Every real controller left alone, read through the cycle with a key on every slot: triggers
// and pedals rest at one end of their range, and nothing may read as engaged there, neither
// for the live marks nor for the reader, which must fall asleep.
#include "ControllerRig.h"
#include "engine/Catalogue.h"
#include "engine/RestingReader.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"

#include <gtest/gtest.h>

namespace padwright::testing {
namespace {

struct SleepingClock : IReaderClock {
    void StartTimers() override {}
    void StopTimers() override {}
    bool Watch(const std::vector<int>&) override { return true; }
    void Unwatch() override {}
    bool Pending(const std::vector<int>&) override { return false; }
    std::chrono::microseconds Now() override { return {}; }
    std::chrono::microseconds Interval() override { return {}; }
    void RunAfter(std::chrono::microseconds) override {}
    void CancelRun() override {}
};

class RestingAxesTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RestingAxesTest, NoSlotIsEngagedAndTheReaderSleeps) {
    ControllerRig rig;
    EvemuDevice device = Fixture(GetParam());
    // Sticks and wheels let go: the descriptions hold them wherever they were when described.
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        AbsRange& r = device.description.absinfo[code];
        if (device.description.HasAbs(code) && r.value != r.minimum && r.value != r.maximum)
            r.value = static_cast<std::int32_t>((std::int64_t(r.minimum) + r.maximum) / 2);
    }
    rig.kernel->Add(device.description);
    rig.access.StartDirectInput();
    rig.Add(0);
    TProfile& profile = rig.lists.Profiles.push_back(NewProfile("Every slot"));
    for (TControlMapping& m : profile.Mappings)
        AssignFunction(m, "VK_A");
    rig.Active(0).Profile = 1;

    RecordingInjector injector;
    RecordingSession session;
    Engine engine(rig.lists, injector, session, rig.host);
    SleepingClock clock;
    RestingReader reader(rig.lists, engine, clock);
    reader.Resume();
    // The recorded events are read by the first run; the reader rests after two runs in a row
    // that read nothing.
    for (int run = 0; run < 3; ++run)
        reader.Run();
    EXPECT_TRUE(rig.Active(0).Acquired);
    EXPECT_TRUE(rig.Active(0).Engaged.none()) << rig.Active(0).Engaged;
    EXPECT_TRUE(reader.Asleep());
}

// Triggers at 0 (pads), pedals at their maximum (G29) and at 0 (pedal box, simulation axes),
// a transmitter's throttle and knobs at 0, pads without triggers.
INSTANTIATE_TEST_SUITE_P(
    Fixtures, RestingAxesTest,
    ::testing::Values("ds4-bt-gamepad.evemu", "logitech-g29-wheel.evemu",
                      "logitech-momo-racing.evemu", "radiomaster-tx16s-opentx.evemu",
                      "usb-gamepad-0079-0011.evemu", "xbox360-pad-xpad-ayaneo-air.evemu",
                      "pedal-box-gas-brake.evemu", "wheel-simulation-axes.evemu",
                      "wide-hat-leftovers-pad.evemu"),
    [](const auto& info) { return FixtureTestName(info.param); });

} // namespace
} // namespace padwright::testing
