// Every real device description, presented as DirectInput presents it.
#include "FixtureHelpers.h"
#include "platform/dinput/Classification.h"
#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/InstanceGuid.h"
#include "platform/dinput/ObjectLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace padwright {
namespace {

using testing::Fixture;

struct DeviceCase {
    const char* file;
    bool controller;
    const char* axes; // present axes among X Y Z Rx Ry Rz, as a string of 0/1
    int sliders, hats, buttons;
};

std::string PresentAxes(const ObjectLayout& layout) {
    std::string present = "000000";
    for (const ObjectInfo& o : layout.objects)
        if (o.kind == ObjectKind::Axis)
            present[static_cast<std::size_t>(o.index)] = '1';
    return present;
}

int CountOf(const ObjectLayout& layout, ObjectKind kind) {
    int n = 0;
    for (const ObjectInfo& o : layout.objects)
        n += o.kind == kind;
    return n;
}

class DeviceFixturesTest : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceFixturesTest, ClassifiedAndEnumerated) {
    const DeviceCase& c = GetParam();
    const EvemuDevice device = Fixture(c.file);
    ASSERT_EQ(IsGameController(device.description), c.controller);
    if (!c.controller)
        return;
    const ObjectLayout layout = BuildObjectLayout(device.description);
    EXPECT_EQ(PresentAxes(layout), c.axes);
    EXPECT_EQ(CountOf(layout, ObjectKind::Slider), c.sliders);
    EXPECT_EQ(CountOf(layout, ObjectKind::Hat), c.hats);
    EXPECT_EQ(CountOf(layout, ObjectKind::Button), c.buttons);
}

INSTANTIATE_TEST_SUITE_P(
    RealDevices, DeviceFixturesTest,
    ::testing::Values(DeviceCase{"ds4-bt-gamepad.evemu", true, "111111", 0, 1, 13},
                      DeviceCase{"ds4-bt-motion-sensors.evemu", false, "", 0, 0, 0},
                      DeviceCase{"ds4-bt-touchpad.evemu", false, "", 0, 0, 0},
                      DeviceCase{"logitech-g13-gaming-keys.evemu", false, "", 0, 0, 0},
                      DeviceCase{"logitech-g29-wheel.evemu", true, "111001", 0, 1, 25},
                      DeviceCase{"logitech-momo-racing.evemu", true, "110000", 0, 0, 10},
                      DeviceCase{"radiomaster-tx16s-opentx.evemu", true, "111111", 1, 0, 24},
                      DeviceCase{"usb-gamepad-0079-0011.evemu", true, "110000", 0, 0, 10},
                      DeviceCase{"xbox360-pad-xpad-ayaneo-air.evemu", true, "111111", 0, 1, 11},
                      // Written for these rules: a pedal box, simulation codes that fill free
                      // axes, a wide hat among pressure values and more than 128 buttons.
                      DeviceCase{"pedal-box-gas-brake.evemu", true, "000000", 2, 0, 0},
                      DeviceCase{"wheel-simulation-axes.evemu", true, "111110", 2, 1, 12},
                      DeviceCase{"wide-hat-leftovers-pad.evemu", true, "111111", 2, 1, 128}),
    [](const auto& info) { return testing::FixtureTestName(info.param.file); });

TEST(DeviceObjectsTest, NamesTypesAndOffsetsOfAPad) {
    const ObjectLayout layout =
        BuildObjectLayout(Fixture("xbox360-pad-xpad-ayaneo-air.evemu").description);
    std::vector<std::string> names;
    for (const ObjectInfo& o : layout.objects)
        names.push_back(o.name);
    const std::vector<std::string> expected = {
        "X Axis",     "Y Axis",   "Z Axis",   "X Rotation", "Y Rotation", "Z Rotation",
        "Hat Switch", "Button 0", "Button 1", "Button 2",   "Button 3",   "Button 4",
        "Button 5",   "Button 6", "Button 7", "Button 8",   "Button 9",   "Button 10"};
    EXPECT_EQ(names, expected);

    EXPECT_TRUE(layout.objects[3].guidType == GUID_RxAxis);
    EXPECT_EQ(layout.objects[3].dwType, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(3));
    EXPECT_EQ(layout.objects[3].dwOfs, 12u);
    EXPECT_TRUE(layout.objects[6].guidType == GUID_POV);
    EXPECT_EQ(layout.objects[6].dwType, DIDFT_POV | DIDFT_MAKEINSTANCE(0));
    EXPECT_EQ(layout.objects[6].dwOfs, 32u);
    // Buttons keep the kernel's code order: BTN_SOUTH first, BTN_THUMBR last.
    EXPECT_EQ(layout.objects[7].codeX, unsigned(BTN_SOUTH));
    EXPECT_EQ(layout.objects.back().codeX, unsigned(BTN_THUMBR));
    EXPECT_EQ(layout.objects.back().dwOfs, 48u + 10u);
    EXPECT_EQ(layout.objects.back().dwType, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(10));
}

TEST(DeviceObjectsTest, UnnamedButtonCodesCount) {
    // The wheel has 0x12c..0x12e, which the kernel gives no name.
    const ObjectLayout layout = BuildObjectLayout(Fixture("logitech-g29-wheel.evemu").description);
    std::vector<unsigned> codes;
    for (const ObjectInfo& o : layout.objects)
        if (o.kind == ObjectKind::Button)
            codes.push_back(o.codeX);
    ASSERT_EQ(codes.size(), 25u);
    EXPECT_EQ(codes[12], 0x12cu);
    EXPECT_EQ(codes[14], 0x12eu);
    EXPECT_EQ(codes[16], unsigned(BTN_TRIGGER_HAPPY1));
}

// Throttle and rudder take the sliders; wheel, gas and brake the axes no X..Rz code took.
TEST(DeviceObjectsTest, SimulationCodesFillTheFreeAxes) {
    const ObjectLayout layout =
        BuildObjectLayout(Fixture("wheel-simulation-axes.evemu").description);
    std::vector<std::pair<std::string, unsigned>> axes;
    for (const ObjectInfo& o : layout.objects)
        if (o.kind == ObjectKind::Axis || o.kind == ObjectKind::Slider)
            axes.emplace_back(o.name, o.codeX);
    const std::vector<std::pair<std::string, unsigned>> expected = {
        {"X Axis", ABS_X},       {"Y Axis", ABS_Y},         {"Z Axis", ABS_WHEEL},
        {"X Rotation", ABS_GAS}, {"Y Rotation", ABS_BRAKE}, {"Slider", ABS_THROTTLE},
        {"Slider", ABS_RUDDER}};
    EXPECT_EQ(axes, expected);
    EXPECT_TRUE(UnusedCodes(Fixture("wheel-simulation-axes.evemu").description, layout).empty());
}

TEST(DeviceObjectsTest, CodesThatBecomeNoObjectAreNamedAsUnused) {
    const EvdevDescription d = Fixture("wide-hat-leftovers-pad.evemu").description;
    std::vector<std::pair<unsigned, unsigned>> unused;
    for (const UnusedCode& u : UnusedCodes(d, BuildObjectLayout(d)))
        unused.emplace_back(u.type, u.code);
    const std::vector<std::pair<unsigned, unsigned>> expected = {
        {EV_ABS, ABS_GAS},   {EV_ABS, ABS_HAT1X}, {EV_ABS, ABS_HAT1Y},
        {EV_ABS, ABS_HAT2X}, {EV_KEY, KEY_HOME},  {EV_KEY, 0x2fc},
        {EV_KEY, 0x2fd},     {EV_KEY, 0x2fe},     {EV_KEY, 0x2ff}};
    EXPECT_EQ(unused, expected);
}

TEST(InstanceGuidTest, StableDistinctAndSensitiveToThePort) {
    std::set<std::string> seen;
    for (const char* file : {"ds4-bt-gamepad.evemu", "logitech-g29-wheel.evemu",
                             "logitech-momo-racing.evemu", "radiomaster-tx16s-opentx.evemu",
                             "usb-gamepad-0079-0011.evemu", "xbox360-pad-xpad-ayaneo-air.evemu"}) {
        const EvdevDescription d = Fixture(file).description;
        EXPECT_TRUE(InstanceGuid(d) == InstanceGuid(Fixture(file).description));
        seen.insert(GuidToString(InstanceGuid(d)));
    }
    EXPECT_EQ(seen.size(), 6u);

    EvdevDescription pad = Fixture("usb-gamepad-0079-0011.evemu").description;
    pad.phys = "usb-0000:00:14.0-1/input0";
    EvdevDescription other = pad;
    other.phys = "usb-0000:00:14.0-2/input0";
    EXPECT_FALSE(InstanceGuid(pad) == InstanceGuid(other));
    // With a serial number the port no longer matters.
    pad.uniq = other.uniq = "A1B2C3";
    EXPECT_TRUE(InstanceGuid(pad) == InstanceGuid(other));
    // Saved settings hold these GUIDs: the hash must not change between versions.
    EvdevDescription fixed;
    fixed.bus = 3;
    fixed.vendor = 0x046d;
    fixed.product = 0xc24f;
    fixed.version = 0x111;
    fixed.phys = "usb-0000:00:14.0-1/input0";
    EXPECT_EQ(GuidToString(InstanceGuid(fixed)), "{B51AE4E0-8E1D-833D-95BD-C64F7E5C7D3C}");
}

} // namespace
} // namespace padwright
