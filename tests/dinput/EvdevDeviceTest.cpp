// The DirectInput object and devices over the in-memory kernel: discovery, opening, reading,
// properties and the result codes of vanished and unreadable devices.
#include "FixtureHelpers.h"
#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/InstanceGuid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace padwright {
namespace {

using testing::AddFixture;
using testing::Fixture;

struct Listed {
    GUID guid;
    std::string name;
};

std::vector<Listed> Enumerate(IDirectInput8& di) {
    std::vector<Listed> listed;
    di.EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [&](const DIDEVICEINSTANCEA& d, void*) {
            listed.push_back({d.guidInstance, d.tszInstanceName});
            return DIENUM_CONTINUE;
        },
        nullptr, DIEDFL_ATTACHEDONLY);
    return listed;
}

DIPROPDWORD DwordProperty(DWORD how, DWORD obj, DWORD value = 0) {
    DIPROPDWORD p{};
    p.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), obj, how};
    p.dwData = value;
    return p;
}

DIPROPRANGE RangeProperty(DWORD how, DWORD obj, LONG lMin = 0, LONG lMax = 0) {
    DIPROPRANGE p{};
    p.diph = {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), obj, how};
    p.lMin = lMin;
    p.lMax = lMax;
    return p;
}

constexpr DWORD X = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0);

class EvdevDeviceTest : public ::testing::Test {
protected:
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    std::shared_ptr<IDirectInput8> di = CreateFixtureDirectInput(kernel);

    // Created, formatted, acquired, with range -maxVal..maxVal and the dead zone on every axis.
    std::shared_ptr<IDirectInputDevice8> Open(const GUID& guid, LONG maxVal = 10,
                                              DWORD deadZone = 1000) {
        std::shared_ptr<IDirectInputDevice8> device;
        EXPECT_EQ(di->CreateDevice(guid, device), DI_OK);
        if (!device)
            return nullptr;
        EXPECT_EQ(device->SetCooperativeLevel(1, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
        EXPECT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);
        EXPECT_EQ(device->Acquire(), DI_OK);
        const DIPROPRANGE range = RangeProperty(DIPH_DEVICE, 0, -maxVal, maxVal);
        EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
        const DIPROPDWORD dz = DwordProperty(DIPH_DEVICE, 0, deadZone);
        EXPECT_EQ(device->SetProperty(DIPROP_DEADZONE, &dz.diph), DI_OK);
        return device;
    }

    static DIJOYSTATE2 Read(IDirectInputDevice8& device) {
        DIJOYSTATE2 state;
        EXPECT_EQ(device.Poll(), DI_OK);
        EXPECT_EQ(device.GetDeviceState(sizeof state, &state), DI_OK);
        return state;
    }
};

TEST_F(EvdevDeviceTest, DiscoveryKeepsNodeOrderAndSkipsNonControllers) {
    AddFixture(*kernel, "ds4-bt-touchpad.evemu");
    AddFixture(*kernel, "ds4-bt-gamepad.evemu");
    AddFixture(*kernel, "ds4-bt-motion-sensors.evemu");
    AddFixture(*kernel, "logitech-g13-gaming-keys.evemu");
    AddFixture(*kernel, "logitech-momo-racing.evemu");
    const auto listed = Enumerate(*di);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "Wireless Controller");
    EXPECT_EQ(listed[1].name, "Logitech  Logitech MOMO Racing "); // blanks kept

    // Joystick IDs are positions among the controllers, not node numbers.
    for (DWORD id = 0; id < 2; ++id) {
        std::shared_ptr<IDirectInputDevice8> device;
        ASSERT_EQ(di->CreateDevice(listed[id].guid, device), DI_OK);
        DIPROPDWORD p = DwordProperty(DIPH_DEVICE, 0);
        EXPECT_EQ(device->GetProperty(DIPROP_JOYSTICKID, &p.diph), DI_OK);
        EXPECT_EQ(p.dwData, id);
        DIPROPSTRING name{};
        name.diph = {sizeof name, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
        EXPECT_EQ(device->GetProperty(DIPROP_INSTANCENAME, &name.diph), DI_OK);
        EXPECT_EQ(std::string(name.wsz), listed[id].name);
    }
}

// Names longer than the fixed buffers are cut before a character, never inside one, and ended.
TEST_F(EvdevDeviceTest, LongNamesAreCutWholeCharactersInEveryBuffer) {
    const std::string eAcute = "\xC3\xA9";
    EvemuDevice pad = Fixture("usb-gamepad-0079-0011.evemu");
    // One e-acute across the end of the 260-byte list names, one across the end of the property.
    const std::string listHead = std::string(258, 'a');
    const std::string propertyHead = listHead + eAcute + std::string(258, 'b');
    pad.description.name = propertyHead + eAcute + "tail";
    kernel->Add(pad.description);

    std::vector<std::string> products;
    di->EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [&](const DIDEVICEINSTANCEA& d, void*) {
            products.push_back(d.tszInstanceName);
            products.push_back(d.tszProductName);
            return DIENUM_CONTINUE;
        },
        nullptr, DIEDFL_ATTACHEDONLY);
    ASSERT_EQ(products.size(), 2u);
    EXPECT_EQ(products[0], listHead);
    EXPECT_EQ(products[1], listHead);

    const auto listed = Enumerate(*di);
    ASSERT_EQ(listed.size(), 1u);
    std::shared_ptr<IDirectInputDevice8> device;
    ASSERT_EQ(di->CreateDevice(listed[0].guid, device), DI_OK);
    DIPROPSTRING name;
    std::memset(&name, 'x', sizeof name); // no terminator unless the device writes one
    name.diph = {sizeof name, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    ASSERT_EQ(device->GetProperty(DIPROP_INSTANCENAME, &name.diph), DI_OK);
    EXPECT_EQ(std::string(name.wsz, strnlen(name.wsz, sizeof name.wsz)), propertyHead);
}

// Two pads that report the same serial (cheap pads often do) must still be two controllers,
// each read from its own node, with GUIDs that stay the same from one scan to the next.
TEST_F(EvdevDeviceTest, IdenticalPadsAreTwoControllers) {
    EvemuDevice pad = Fixture("usb-gamepad-0079-0011.evemu");
    pad.description.uniq = "0000001";
    kernel->Add(pad.description);
    const int second = kernel->Add(pad.description);
    const auto listed = Enumerate(*di);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_FALSE(listed[0].guid == listed[1].guid);

    auto first = Open(listed[0].guid);
    auto other = Open(listed[1].guid);
    ASSERT_TRUE(first && other);
    kernel->Push(second, {{EV_KEY, BTN_TRIGGER, 1}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_EQ(Read(*first).rgbButtons[0], 0);
    EXPECT_EQ(Read(*other).rgbButtons[0], 0x80);

    const auto again = Enumerate(*di);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_TRUE(again[0].guid == listed[0].guid);
    EXPECT_TRUE(again[1].guid == listed[1].guid);
}

TEST_F(EvdevDeviceTest, NoInputDirectoryMeansNoControllers) {
    AddFixture(*kernel, "logitech-momo-racing.evemu");
    kernel->SetInputDirectory(false);
    EXPECT_TRUE(Enumerate(*di).empty());
}

TEST_F(EvdevDeviceTest, StickReadsFullTravelCentreAndDeadZone) {
    const int node = AddFixture(*kernel, "radiomaster-tx16s-opentx.evemu");
    auto device = Open(Enumerate(*di).at(0).guid);
    kernel->Push(node, {{EV_ABS, ABS_X, 2047},
                        {EV_ABS, ABS_Y, 0},
                        {EV_ABS, ABS_Z, 1100},
                        {EV_ABS, ABS_THROTTLE, 1535},
                        {EV_KEY, BTN_SOUTH, 1},
                        {EV_KEY, BTN_TRIGGER_HAPPY8, 1},
                        {EV_SYN, SYN_REPORT, 0}});
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.lX, 10);
    EXPECT_EQ(s.lY, -10);
    EXPECT_EQ(s.lZ, 0); // 7.5 % off centre: inside the 10 % dead zone
    // The throttle is a slider resting at its minimum, a half axis: 75 % of its travel, 10 %
    // dead zone -> (0.75-0.1)/0.9 of 10.
    EXPECT_EQ(s.rglSlider[0], 7);
    EXPECT_EQ(s.rglSlider[1], 0);
    EXPECT_EQ(s.rgbButtons[0], 0x80);
    EXPECT_EQ(s.rgbButtons[23], 0x80);
    EXPECT_EQ(s.rgbButtons[1], 0x00);
    for (DWORD pov : s.rgdwPOV)
        EXPECT_EQ(pov, POV_CENTERED);
}

// Max Value 0 asks for the range 0..0: every axis then reads 0, not DirectInput's default
// 0..65535 that an invalid range would leave in place.
TEST_F(EvdevDeviceTest, EmptyRangeMakesEveryAxisReadZero) {
    const int node = AddFixture(*kernel, "radiomaster-tx16s-opentx.evemu");
    auto device = Open(Enumerate(*di).at(0).guid, /*maxVal=*/0);
    kernel->Push(node, {{EV_ABS, ABS_X, 2047}, {EV_ABS, ABS_THROTTLE, 0}});
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.lX, 0);
    EXPECT_EQ(s.lY, 0);
    EXPECT_EQ(s.rglSlider[0], 0);
}

TEST_F(EvdevDeviceTest, PadHatTriggersAndStartValues) {
    const int node = AddFixture(*kernel, "xbox360-pad-xpad-ayaneo-air.evemu");
    auto device = Open(Enumerate(*di).at(0).guid);
    DIJOYSTATE2 s = Read(*device);
    // At rest the sticks are centred, the triggers at their lower end, which reads 0 for a
    // half axis, the hat centred.
    EXPECT_EQ(s.lX, 0);
    EXPECT_EQ(s.lZ, 0);
    EXPECT_EQ(s.rgdwPOV[0], POV_CENTERED);

    kernel->Push(node, {{EV_ABS, ABS_HAT0X, 1},
                        {EV_ABS, ABS_HAT0Y, -1},
                        {EV_ABS, ABS_RZ, 255},
                        {EV_ABS, ABS_RX, -32768}});
    s = Read(*device);
    EXPECT_EQ(s.rgdwPOV[0], 4500u);
    EXPECT_EQ(s.lRz, 10);
    EXPECT_EQ(s.lRx, -10);
    kernel->Push(node, {{EV_ABS, ABS_HAT0X, 0}});
    EXPECT_EQ(Read(*device).rgdwPOV[0], 0u);
    kernel->Push(node, {{EV_ABS, ABS_HAT0Y, 0}});
    EXPECT_EQ(Read(*device).rgdwPOV[0], POV_CENTERED);

    DIPROPRANGE hat = RangeProperty(DIPH_BYID, DIDFT_POV | DIDFT_MAKEINSTANCE(0));
    EXPECT_EQ(device->GetProperty(DIPROP_LOGICALRANGE, &hat.diph), DI_OK);
    EXPECT_EQ(hat.lMin, 0);
    EXPECT_EQ(hat.lMax, 7);
    DIPROPRANGE axis = RangeProperty(DIPH_BYID, X);
    EXPECT_EQ(device->GetProperty(DIPROP_LOGICALRANGE, &axis.diph), DI_OK);
    EXPECT_EQ(axis.lMin, -32768);
    EXPECT_EQ(axis.lMax, 32767);
}

TEST_F(EvdevDeviceTest, WheelReplaysItsRecording) {
    AddFixture(*kernel, "logitech-g29-wheel.evemu", /*withEvents=*/true);
    auto device = Open(Enumerate(*di).at(0).guid);
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.lX, -7);              // turned left: 7664 of 0..65535
    EXPECT_EQ(s.lZ, 10);              // gas pedal at 251 of 0..255
    EXPECT_EQ(s.rgbButtons[1], 0x00); // the square button went down and up again
}

// A hat with any range around 0 reads by the signs of its values; HAT codes carrying
// pressures, a lone HAT2X and the 129th button change nothing.
TEST_F(EvdevDeviceTest, WideHatReadsBySign) {
    AddFixture(*kernel, "wide-hat-leftovers-pad.evemu", /*withEvents=*/true);
    auto device = Open(Enumerate(*di).at(0).guid);
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.rgdwPOV[0], 22500u); // -100, 90: down and left
    EXPECT_EQ(s.rgdwPOV[1], POV_CENTERED);
    int down = 0;
    for (BYTE b : s.rgbButtons)
        down += b != 0;
    EXPECT_EQ(down, 1);
    EXPECT_EQ(s.rgbButtons[67], 0x80); // 0x233, after 16 + 32 + 19 lower codes
}

TEST_F(EvdevDeviceTest, PedalsRestAtTheirLowEndAndPress) {
    AddFixture(*kernel, "pedal-box-gas-brake.evemu", /*withEvents=*/true);
    auto device = Open(Enumerate(*di).at(0).guid, 100, 0);
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.rglSlider[0], 100);
    EXPECT_EQ(s.rglSlider[1], -22); // 400 of 0..1023
}

TEST_F(EvdevDeviceTest, NonControllerIsNotCreated) {
    AddFixture(*kernel, "ds4-bt-touchpad.evemu");
    const GUID guid = InstanceGuid(Fixture("ds4-bt-touchpad.evemu").description);
    std::shared_ptr<IDirectInputDevice8> device;
    EXPECT_EQ(di->CreateDevice(guid, device), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
}

TEST_F(EvdevDeviceTest, CallOrderAndArgumentChecks) {
    AddFixture(*kernel, "usb-gamepad-0079-0011.evemu");
    std::shared_ptr<IDirectInputDevice8> device;
    ASSERT_EQ(di->CreateDevice(Enumerate(*di).at(0).guid, device), DI_OK);
    DIJOYSTATE2 s;
    EXPECT_EQ(device->Acquire(), DIERR_INVALIDPARAM); // no data format yet
    EXPECT_EQ(device->GetDeviceState(sizeof s, &s), DIERR_NOTACQUIRED);
    EXPECT_EQ(device->Poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(
        device->SetCooperativeLevel(1, DISCL_NONEXCLUSIVE | DISCL_EXCLUSIVE | DISCL_BACKGROUND),
        DIERR_INVALIDPARAM);
    const DIDATAFORMAT other = {sizeof(DIDATAFORMAT), 80};
    EXPECT_EQ(device->SetDataFormat(&other), DIERR_INVALIDPARAM);
    ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);
    ASSERT_EQ(device->Acquire(), DI_OK);
    EXPECT_EQ(device->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DIERR_ACQUIRED);
    EXPECT_EQ(device->GetDeviceState(80, &s), DIERR_INVALIDPARAM);

    DIPROPRANGE badRange = RangeProperty(DIPH_BYID, X, 10, -10);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &badRange.diph), DIERR_INVALIDPARAM);
    DIPROPDWORD badDeadZone = DwordProperty(DIPH_BYID, X, 10001);
    EXPECT_EQ(device->SetProperty(DIPROP_DEADZONE, &badDeadZone.diph), DIERR_INVALIDPARAM);
    DIPROPDWORD missing = DwordProperty(DIPH_BYID, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(5), 100);
    EXPECT_EQ(device->SetProperty(DIPROP_DEADZONE, &missing.diph), DIERR_OBJECTNOTFOUND);
    DIPROPDWORD button = DwordProperty(DIPH_BYID, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(0), 100);
    EXPECT_EQ(device->SetProperty(DIPROP_DEADZONE, &button.diph), DIERR_UNSUPPORTED);
    DIPROPDWORD id = DwordProperty(DIPH_DEVICE, 0, 3);
    EXPECT_EQ(device->SetProperty(DIPROP_JOYSTICKID, &id.diph), E_ACCESSDENIED);

    // Range and dead zone set on one axis stay on that axis.
    DIPROPRANGE range = RangeProperty(DIPH_BYID, X, -100, 100);
    EXPECT_EQ(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
    DIPROPRANGE read = RangeProperty(DIPH_BYID, X);
    EXPECT_EQ(device->GetProperty(DIPROP_RANGE, &read.diph), DI_OK);
    EXPECT_EQ(read.lMax, 100);
    DIPROPRANGE y = RangeProperty(DIPH_BYID, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1));
    EXPECT_EQ(device->GetProperty(DIPROP_RANGE, &y.diph), DI_OK);
    EXPECT_EQ(y.lMin, 0); // DirectInput's default range
    EXPECT_EQ(y.lMax, 65535);
}

TEST_F(EvdevDeviceTest, EnumObjectsFiltersByType) {
    AddFixture(*kernel, "ds4-bt-gamepad.evemu");
    std::shared_ptr<IDirectInputDevice8> device;
    ASSERT_EQ(di->CreateDevice(Enumerate(*di).at(0).guid, device), DI_OK);
    auto count = [&](DWORD filter) {
        int n = 0;
        device->EnumObjects(
            [&](const DIDEVICEOBJECTINSTANCEA&, void*) { return ++n, DIENUM_CONTINUE; }, nullptr,
            filter);
        return n;
    };
    EXPECT_EQ(count(DIDFT_ALL), 6 + 1 + 13);
    EXPECT_EQ(count(DIDFT_AXIS), 6);
    EXPECT_EQ(count(DIDFT_BUTTON), 13);
    EXPECT_EQ(count(DIDFT_POV), 1);
    int calls = 0;
    device->EnumObjects([&](const DIDEVICEOBJECTINSTANCEA&, void*) { return ++calls, DIENUM_STOP; },
                        nullptr, DIDFT_ALL);
    EXPECT_EQ(calls, 1);
}

TEST_F(EvdevDeviceTest, UnplugGivesDirectInputCodesAndReplugKeepsTheGuid) {
    const int node = AddFixture(*kernel, "logitech-momo-racing.evemu");
    const GUID guid = Enumerate(*di).at(0).guid;
    auto device = Open(guid);
    kernel->Push(node, {{EV_KEY, BTN_TRIGGER, 1}});
    kernel->Unplug(node);
    DIJOYSTATE2 s;
    EXPECT_EQ(device->Poll(), DIERR_INPUTLOST);
    EXPECT_EQ(device->GetDeviceState(sizeof s, &s), DIERR_INPUTLOST);
    EXPECT_EQ(device->Acquire(), DIERR_UNPLUGGED);
    std::shared_ptr<IDirectInputDevice8> again;
    EXPECT_EQ(di->CreateDevice(guid, again), DIERR_DEVICENOTREG);
    EXPECT_TRUE(Enumerate(*di).empty());

    kernel->Replug(node); // back under another node number, which a rescan finds
    EXPECT_EQ(di->CreateDevice(guid, again), DIERR_DEVICENOTREG);
    ASSERT_EQ(Enumerate(*di).size(), 1u);
    EXPECT_TRUE(Enumerate(*di)[0].guid == guid);
    auto fresh = Open(guid);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(Read(*fresh).rgbButtons[0], 0x80); // the state the device has now
}

TEST_F(EvdevDeviceTest, UnreadableControllerIsListedButDeniedOnCreate) {
    AddFixture(*kernel, "usb-gamepad-0079-0011.evemu");
    const int denied = AddFixture(*kernel, "logitech-momo-racing.evemu");
    const int deniedKeys = AddFixture(*kernel, "logitech-g13-gaming-keys.evemu");
    kernel->SetDenied(denied, true);
    kernel->SetDenied(deniedKeys, true); // not a controller: not listed, so never logged
    const auto listed = Enumerate(*di);
    ASSERT_EQ(listed.size(), 2u);
    std::shared_ptr<IDirectInputDevice8> device;
    EXPECT_EQ(di->CreateDevice(listed[1].guid, device), E_ACCESSDENIED);
    EXPECT_EQ(di->CreateDevice(listed[0].guid, device), DI_OK);
}

// A scan opens only nodes new or changed since any scan over the same kernel: a node made
// again under the same number, or opened up, is looked at anew.
TEST_F(EvdevDeviceTest, ScansOpenOnlyNodesNewOrChanged) {
    const int pad = AddFixture(*kernel, "usb-gamepad-0079-0011.evemu");
    AddFixture(*kernel, "logitech-g13-gaming-keys.evemu"); // no controller, yet opened once
    const int wheel = AddFixture(*kernel, "logitech-momo-racing.evemu");
    const std::string P = "USB Gamepad ", W = "Logitech  Logitech MOMO Racing ",
                      X = "Microsoft X-Box 360 pad";
    struct Step {
        const char* what;
        int opens;
        std::vector<std::string> listed;
        HRESULT padCreated;
        std::function<void()> change;
    };
    const Step steps[] = {
        {"first scan", 3, {P, W}, DI_OK, [] {}},
        {"nothing changed", 0, {P, W}, DI_OK, [] {}},
        {"another object", 0, {P, W}, DI_OK, [&] { di = CreateFixtureDirectInput(kernel); }},
        {"pad made unreadable", 0, {P, W}, E_ACCESSDENIED, [&] { kernel->SetDenied(pad, true); }},
        {"pad opened up", 1, {P, W}, DI_OK, [&] { kernel->SetDenied(pad, false); }},
        {"another device at the wheel's number",
         1,
         {P, X},
         DI_OK,
         [&] {
             kernel->Unplug(wheel);
             kernel->Add(Fixture("xbox360-pad-xpad-ayaneo-air.evemu").description, {}, wheel);
         }},
    };
    const GUID padGuid = InstanceGuid(Fixture("usb-gamepad-0079-0011.evemu").description);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        const int before = kernel->Opens();
        std::vector<std::string> names;
        for (const Listed& l : Enumerate(*di))
            names.push_back(l.name);
        EXPECT_EQ(kernel->Opens() - before, step.opens);
        EXPECT_EQ(names, step.listed);
        std::shared_ptr<IDirectInputDevice8> device;
        EXPECT_EQ(di->CreateDevice(padGuid, device), step.padCreated);
    }
}

TEST_F(EvdevDeviceTest, MoreObjectsThanTheStateHolds) {
    EvdevDescription d;
    d.name = "Many Controls";
    d.bus = 3;
    for (unsigned code : {ABS_X, ABS_Y, ABS_THROTTLE, ABS_RUDDER, ABS_WHEEL, ABS_GAS, ABS_BRAKE})
        d.abs.set(code), d.absinfo[code] = {0, 0, 255, 0, 0, 0};
    for (unsigned code = ABS_HAT0X; code <= ABS_HAT3Y; ++code)
        d.abs.set(code), d.absinfo[code] = {0, -1, 1, 0, 0, 0};
    d.absinfo[ABS_HAT2X] = {0, 0, 255, 0, 0, 0}; // a pressure, not a hat
    // 64 codes from BTN_MISC, 16 keys past the tool codes, 64 trigger codes: 144 in all.
    for (unsigned code = BTN_MISC; code < BTN_MISC + 64; ++code)
        d.keys.set(code);
    for (unsigned code = KEY_OK; code < KEY_OK + 16; ++code)
        d.keys.set(code);
    for (unsigned code = BTN_TRIGGER_HAPPY; code < KEY_CNT; ++code)
        d.keys.set(code);
    const int node = kernel->Add(d);

    auto device = Open(Enumerate(*di).at(0).guid);
    int sliders = 0, hats = 0, buttons = 0;
    device->EnumObjects(
        [&](const DIDEVICEOBJECTINSTANCEA& o, void*) {
            sliders += o.guidType == GUID_Slider;
            hats += o.guidType == GUID_POV;
            buttons += o.guidType == GUID_Button;
            return DIENUM_CONTINUE;
        },
        nullptr, DIDFT_ALL);
    EXPECT_EQ(sliders, 2);
    EXPECT_EQ(hats, 3);
    EXPECT_EQ(buttons, 128);
    // The fourth hat pair in the kernel is the third hat here.
    kernel->Push(node, {{EV_ABS, ABS_HAT3X, -1},
                        {EV_ABS, ABS_RUDDER, 255},
                        {EV_ABS, ABS_WHEEL, 255},
                        {EV_KEY, BTN_TRIGGER_HAPPY40, 1},
                        {EV_KEY, 0x2f0, 1}});
    const DIJOYSTATE2 s = Read(*device);
    EXPECT_EQ(s.rgdwPOV[2], 27000u);
    EXPECT_EQ(s.rglSlider[1], 10);
    // Buttons 0..79 are the first two groups, then the first 48 trigger codes; 0x2f0 is past
    // the 128th button and changes nothing.
    EXPECT_EQ(s.rgbButtons[80 + 39], 0x80);
    int down = 0;
    for (BYTE b : s.rgbButtons)
        down += b != 0;
    EXPECT_EQ(down, 1);
}

// Changes of a button read between two states are shown one per state, in order, so a tap
// shorter than the reading's pace is still a press and a release; other buttons are not held
// up by them; changes made before Acquire are not replayed; a long burst keeps its last taps.
TEST_F(EvdevDeviceTest, EveryPressReadBetweenTwoStatesIsShown) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> before; // (code, value) pushed before Acquire
        std::vector<std::pair<int, int>> pushed; // then, before the states are read
        std::vector<std::string> states;         // buttons 0 and 1 as "01" per state
    };
    const Case cases[] = {
        {"tap", {}, {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}}, {"10", "00", "00"}},
        {"two taps",
         {},
         {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}, {BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}},
         {"10", "00", "10", "00", "00"}},
        {"repeat is no change",
         {},
         {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 2}, {BTN_TRIGGER, 0}},
         {"10", "00"}},
        {"other button not held up",
         {},
         {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}, {BTN_THUMB, 1}},
         {"11", "01", "01"}},
        {"before acquire", {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}, {BTN_THUMB, 1}}, {}, {"01", "01"}},
        {"long burst", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto kernel = std::make_shared<FixtureKernel>();
        auto di = CreateFixtureDirectInput(kernel);
        const int node = AddFixture(*kernel, "usb-gamepad-0079-0011.evemu");
        std::shared_ptr<IDirectInputDevice8> device;
        ASSERT_EQ(di->CreateDevice(Enumerate(*di).at(0).guid, device), DI_OK);
        ASSERT_EQ(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);
        for (const auto& [code, value] : c.before)
            kernel->Push(node, {{EV_KEY, static_cast<std::uint16_t>(code), value}});
        ASSERT_EQ(device->Acquire(), DI_OK);
        std::vector<std::pair<int, int>> pushed = c.pushed;
        std::vector<std::string> expected = c.states;
        if (c.pushed.empty() && c.before.empty()) {
            // 40 taps at once: the states show the last 32, then rest.
            for (int i = 0; i < 40; ++i)
                pushed.insert(pushed.end(), {{BTN_TRIGGER, 1}, {BTN_TRIGGER, 0}});
            for (int i = 0; i < 32; ++i)
                expected.insert(expected.end(), {"10", "00"});
            expected.push_back("00");
        }
        for (const auto& [code, value] : pushed)
            kernel->Push(node, {{EV_KEY, static_cast<std::uint16_t>(code), value}});
        std::vector<std::string> shown;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const DIJOYSTATE2 s = Read(*device);
            shown.push_back(std::string{s.rgbButtons[0] ? '1' : '0', s.rgbButtons[1] ? '1' : '0'});
        }
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
} // namespace padwright
