// Every real controller left alone, read through the cycle with a key on every slot: triggers
// and pedals rest at one end of their range, and nothing may read as engaged there, neither
// for the live marks nor for the reader, which must fall asleep.
#include "ControllerRig.h"
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/RestingReader.h"
#include "platform/dinput/EvdevDevice.h"
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
};

// "Z min Rz min": the axes of the device that rest at one end, named as in the state record.
std::string HalfAxes(const TJoystick& c) {
    static const char* const Names[] = {"X", "Y", "Z", "Rx", "Ry", "Rz"};
    const auto& device = dynamic_cast<const EvdevDevice&>(*c.Device);
    std::string out;
    for (std::size_t i = 0; i < device.Layout().objects.size(); ++i) {
        const ObjectInfo& o = device.Layout().objects[i];
        if (device.RestOf(i) == AxisRest::Centre)
            continue;
        out += out.empty() ? "" : " ";
        out += o.kind == ObjectKind::Axis ? Names[o.index] : "Slider" + std::to_string(o.index + 1);
        out += device.RestOf(i) == AxisRest::Minimum ? " min" : " max";
    }
    return out;
}

struct RestCase {
    const char* file;
    const char* halfAxes;
};

class RestingAxesTest : public ::testing::TestWithParam<RestCase> {};

TEST_P(RestingAxesTest, NoSlotIsEngagedAndTheReaderSleeps) {
    ControllerRig rig;
    EvemuDevice device = Fixture(GetParam().file);
    // Sticks and wheels let go: the descriptions hold them wherever they were when described.
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        AbsRange& r = device.description.absinfo[code];
        if (device.description.HasAbs(code) && r.value != r.minimum && r.value != r.maximum)
            r.value = static_cast<std::int32_t>((std::int64_t(r.minimum) + r.maximum) / 2);
    }
    rig.kernel->Add(device.description);
    rig.access.StartDirectInput();
    rig.Add(0);
    TJoystick& pad = rig.Active(0);
    ASSERT_TRUE(pad.Acquired);
    TProfile& profile = rig.lists.Profiles.push_back(NewProfile("Every slot"));
    for (TControlMapping& m : profile.Mappings)
        AssignFunction(m, "VK_A");
    pad.Profile = 1;

    RecordingInjector injector;
    RecordingSession session;
    Engine engine(rig.lists, injector, session, rig.host);
    SleepingClock clock;
    RestingReader reader(rig.lists, engine, clock);
    reader.Resume();
    reader.Run();

    EXPECT_EQ(HalfAxes(pad), GetParam().halfAxes);
    EXPECT_TRUE(pad.Engaged.none()) << pad.Engaged;
    EXPECT_TRUE(injector.calls.empty());
    EXPECT_TRUE(reader.Asleep());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RestingAxesTest,
    ::testing::Values(RestCase{"ds4-bt-gamepad.evemu", "Z min Rz min"},
                      RestCase{"logitech-g29-wheel.evemu", "Y max Z max Rz max"},
                      // Described before its first report: the kernel still held 0 for both.
                      RestCase{"logitech-momo-racing.evemu", "X min Y min"},
                      RestCase{"radiomaster-tx16s-opentx.evemu", "Ry min Rz min Slider1 min"},
                      RestCase{"usb-gamepad-0079-0011.evemu", ""},
                      RestCase{"xbox360-pad-xpad-ayaneo-air.evemu", "Z min Rz min"},
                      RestCase{"pedal-box-gas-brake.evemu", "Slider1 min Slider2 min"},
                      RestCase{"wheel-simulation-axes.evemu", "Z min Rx min Ry min Slider1 min"},
                      RestCase{"wide-hat-leftovers-pad.evemu",
                               "Z min Rz min Slider1 min Slider2 min"}),
    [](const auto& info) { return FixtureTestName(info.param.file); });

} // namespace
} // namespace padwright::testing
