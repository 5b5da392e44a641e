// The opening sequence and the object callback against a device that reports whatever the test
// wants, including more objects than the record holds and failing steps.
#include "ControllerRig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace padwright {
namespace {

using testing::LoggingHost;

struct ScriptedDevice : IDirectInputDevice8 {
    HRESULT coop = DI_OK, format = DI_OK, acquire = DI_OK, logicalRange = DI_OK;
    LONG povMax = 7;
    std::vector<DIDEVICEOBJECTINSTANCEA> objects;
    std::vector<std::pair<DWORD, DWORD>> propertiesSet; // (property, object)
    DWORD deadZoneSet = 0;
    LONG rangeMinSet = 0, rangeMaxSet = 0;

    void AddObject(const GUID& type, DWORD dwType, const char* name) {
        DIDEVICEOBJECTINSTANCEA o;
        std::memset(&o, 0, sizeof o);
        o.guidType = type;
        o.dwType = dwType;
        std::strncpy(o.tszName, name, MAX_PATH - 1);
        objects.push_back(o);
    }

    HRESULT SetCooperativeLevel(WindowHandle, DWORD) override { return coop; }
    HRESULT SetDataFormat(const DIDATAFORMAT*) override { return format; }
    HRESULT Acquire() override { return acquire; }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT EnumObjects(const EnumObjectsCallback& callback, void* context, DWORD flags) override {
        for (const auto& o : objects)
            if (flags == DIDFT_ALL || (o.dwType & flags & 0xFF))
                callback(o, context);
        return DI_OK;
    }
    HRESULT GetProperty(DWORD property, DIPROPHEADER* header) override {
        if (property != DIPROP_LOGICALRANGE || logicalRange != DI_OK)
            return logicalRange;
        reinterpret_cast<DIPROPRANGE*>(header)->lMax = povMax;
        return DI_OK;
    }
    HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override {
        propertiesSet.emplace_back(property, header->dwObj);
        if (property == DIPROP_DEADZONE)
            deadZoneSet = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
        if (property == DIPROP_RANGE) {
            rangeMinSet = reinterpret_cast<const DIPROPRANGE*>(header)->lMin;
            rangeMaxSet = reinterpret_cast<const DIPROPRANGE*>(header)->lMax;
        }
        return DI_OK;
    }
    HRESULT Poll() override { return DI_OK; }
    HRESULT GetDeviceState(DWORD, void*) override { return DI_OK; }
};

struct ScriptedDirectInput : IDirectInput8 {
    std::shared_ptr<ScriptedDevice> device = std::make_shared<ScriptedDevice>();
    HRESULT EnumDevices(DWORD, const EnumDevicesCallback&, void*, DWORD) override { return DI_OK; }
    HRESULT CreateDevice(const GUID&, std::shared_ptr<IDirectInputDevice8>& out) override {
        out = device;
        return DI_OK;
    }
};

struct ScriptedRig {
    std::shared_ptr<ScriptedDirectInput> di = std::make_shared<ScriptedDirectInput>();
    ScriptedDevice& device = *di->device;
    TLists lists;
    LoggingHost host;
    ControllerAccess access{lists, host, [this](std::shared_ptr<IDirectInput8>& out) {
                                out = di;
                                return DI_OK;
                            }};
    TJoystick& controller = lists.ActiveJoysticks.emplace_back();
    ScriptedRig() { access.StartDirectInput(); }
};

TEST(ObjectCallbackTest, ObjectsBeyondTheRecordAreNeitherCountedNorNamed) {
    ScriptedRig rig;
    DWORD axis = 0;
    rig.device.AddObject(GUID_XAxis, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis++), "Stick X");
    rig.device.AddObject(GUID_XAxis, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis++), "Second X");
    for (int s = 0; s < 3; ++s)
        rig.device.AddObject(GUID_Slider, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis++),
                             ("Slider " + std::to_string(s)).c_str());
    for (int h = 0; h < 5; ++h)
        rig.device.AddObject(GUID_POV, DIDFT_POV | DIDFT_MAKEINSTANCE(h),
                             ("Hat " + std::to_string(h)).c_str());
    for (int b = 0; b < 130; ++b)
        rig.device.AddObject(GUID_Button, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(b),
                             ("B" + std::to_string(b)).c_str());
    rig.device.AddObject(GUID_Key, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(200), "A key");
    rig.device.AddObject(GUID_Unknown, 0, "Collection");

    ASSERT_TRUE(rig.access.OpenController(0, ControllerAccess::OpenVariant::Start));
    const TJoystick& c = rig.controller;
    EXPECT_EQ(c.XCount, 2);
    EXPECT_EQ(c.XName, "Second X");
    EXPECT_EQ(c.SliderCount, 2);
    EXPECT_EQ(c.SliderNames[1], "Slider 1");
    EXPECT_EQ(c.POVCount, 4);
    EXPECT_EQ(c.POVNames[3], "Hat 3");
    EXPECT_EQ(c.POVMax[3], 7);
    EXPECT_EQ(c.ButtonCount, 128);
    EXPECT_EQ(c.ButtonNames[127], "Button: B127");
    EXPECT_EQ(c.YCount, 0);
    // Every absolute axis, sliders beyond the second included, got range and dead zone.
    EXPECT_EQ(rig.device.propertiesSet.size(), 2u * 5u);
    EXPECT_EQ(rig.device.rangeMinSet, -10);
    EXPECT_EQ(rig.device.rangeMaxSet, 10);
    EXPECT_EQ(rig.device.deadZoneSet, 1000u);
}

TEST(ObjectCallbackTest, HatKeepsItsRangeWhenTheQueryFails) {
    ScriptedRig rig;
    rig.device.AddObject(GUID_POV, DIDFT_POV, "Hat Switch");
    rig.controller.POVMax[0] = 3;
    rig.device.logicalRange = DIERR_UNSUPPORTED;
    rig.access.OpenController(0, ControllerAccess::OpenVariant::Start);
    EXPECT_EQ(rig.controller.POVMax[0], 3);
    rig.device.logicalRange = DI_OK;
    rig.device.povMax = 7;
    rig.access.OpenController(0, ControllerAccess::OpenVariant::Start);
    EXPECT_EQ(rig.controller.POVMax[0], 7);
    EXPECT_EQ(rig.controller.POVCount, 1);
}

TEST(ObjectCallbackTest, NamesAreCutTo255Bytes) {
    ScriptedRig rig;
    const std::string longName(300, 'n');
    rig.device.AddObject(GUID_YAxis, DIDFT_ABSAXIS, longName.c_str());
    rig.device.AddObject(GUID_Button, DIDFT_PSHBUTTON, longName.c_str());
    rig.access.OpenController(0, ControllerAccess::OpenVariant::Start);
    EXPECT_EQ(rig.controller.YName, std::string(255, 'n'));
    EXPECT_EQ(rig.controller.ButtonNames[0], "Button: " + std::string(255 - 8, 'n'));
}

TEST(ObjectCallbackTest, EachFailingStepWritesItsOneLine) {
    struct Case {
        HRESULT ScriptedDevice::*step;
        const char* prefix;
    } cases[] = {
        {&ScriptedDevice::coop, "Failed to set coop level: "},
        {&ScriptedDevice::format, "Failed to set data format: "},
        {&ScriptedDevice::acquire, "Failed to acquire device: "},
    };
    for (const Case& c : cases) {
        ScriptedRig rig;
        rig.device.AddObject(GUID_XAxis, DIDFT_ABSAXIS, "X Axis");
        rig.controller.ButtonCount = 3; // from an earlier opening
        rig.device.*c.step = DIERR_INPUTLOST;
        EXPECT_FALSE(rig.access.OpenController(0, ControllerAccess::OpenVariant::Start));
        EXPECT_EQ(rig.host.lines,
                  std::vector<std::string>{c.prefix +
                                           std::string(DirectInputErrorText(DIERR_INPUTLOST))});
        EXPECT_FALSE(rig.controller.Acquired);
        EXPECT_NE(rig.controller.Device, nullptr); // kept until the next open or removal
        EXPECT_EQ(rig.controller.ButtonCount, 3);
        EXPECT_EQ(rig.controller.XCount, 0);
    }
}

TEST(ObjectCallbackTest, AxisPropertyStepTouchesOnlyAxes) {
    ScriptedRig rig;
    rig.device.AddObject(GUID_XAxis, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0), "X Axis");
    rig.device.AddObject(GUID_Slider, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1), "Slider");
    rig.device.AddObject(GUID_POV, DIDFT_POV, "Hat Switch");
    rig.device.AddObject(GUID_Button, DIDFT_PSHBUTTON, "Button 0");
    rig.access.OpenController(0, ControllerAccess::OpenVariant::Start);
    rig.device.propertiesSet.clear();
    rig.controller.MaxVal = 50;
    rig.controller.DeadZone = 25;
    rig.access.ApplyAxisProperties(0);
    EXPECT_EQ(rig.device.propertiesSet,
              (std::vector<std::pair<DWORD, DWORD>>{{DIPROP_RANGE, DIDFT_ABSAXIS},
                                                    {DIPROP_DEADZONE, DIDFT_ABSAXIS},
                                                    {DIPROP_RANGE, DIDFT_ABSAXIS | 0x100},
                                                    {DIPROP_DEADZONE, DIDFT_ABSAXIS | 0x100}}));
    EXPECT_EQ(rig.device.rangeMaxSet, 50);
    EXPECT_EQ(rig.device.deadZoneSet, 2500u);
    EXPECT_EQ(rig.controller.POVCount, 1);
}

} // namespace
} // namespace padwright
