// Joystick IDs belong to GUIDs for the whole process: across rescans and DirectInput objects,
// whatever the node order, and a remembered ID follows its controller to another port.
#include "FixtureHelpers.h"
#include "platform/dinput/InstanceGuid.h"

#include <gtest/gtest.h>

#include <map>

namespace padwright {
namespace {

using testing::Fixture;

class JoystickIdsTest : public ::testing::Test {
protected:
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    std::shared_ptr<JoystickIdTable> ids = std::make_shared<JoystickIdTable>();

    // A pad without a serial on the given port.
    EvdevDescription Pad(const std::string& port, const std::string& name = "Twin Pad") {
        EvdevDescription d = Fixture("usb-gamepad-0079-0011.evemu").description;
        d.name = name;
        d.uniq.clear();
        d.phys = port;
        return d;
    }
    // What a Refresh shows: each listed controller's port and ID, from a new DirectInput object.
    std::map<std::string, DWORD> Scan() {
        std::shared_ptr<IDirectInput8> di = CreateFixtureDirectInput(kernel, ids);
        std::map<std::string, DWORD> seen;
        di->EnumDevices(
            DI8DEVCLASS_GAMECTRL,
            [&](const DIDEVICEINSTANCEA& d, void*) {
                std::shared_ptr<IDirectInputDevice8> device;
                EXPECT_EQ(di->CreateDevice(d.guidInstance, device), DI_OK);
                DIPROPDWORD id{};
                id.diph = {sizeof id, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
                device->GetProperty(DIPROP_JOYSTICKID, &id.diph);
                for (const char* port : {"usb-1", "usb-2", "usb-3", "usb-4"})
                    if (d.guidInstance == InstanceGuid(Pad(port)) ||
                        d.guidInstance == InstanceGuid(Pad(port, "Other Pad")))
                        seen[port] = id.dwData;
                return DIENUM_CONTINUE;
            },
            nullptr, DIEDFL_ATTACHEDONLY);
        return seen;
    }
    using Ids = std::map<std::string, DWORD>;
};

TEST_F(JoystickIdsTest, AControllerKeepsItsIdWhenAnotherGoesOrComesFirst) {
    const int first = kernel->Add(Pad("usb-1"));
    kernel->Add(Pad("usb-2"));
    EXPECT_EQ(Scan(), (Ids{{"usb-1", 0}, {"usb-2", 1}}));
    kernel->Unplug(first);
    EXPECT_EQ(Scan(), (Ids{{"usb-2", 1}}));
    kernel->Add(Pad("usb-3")); // the lowest free ID
    kernel->Replug(first);     // now after the others in node order
    EXPECT_EQ(Scan(), (Ids{{"usb-1", 0}, {"usb-2", 1}, {"usb-3", 2}}));
}

TEST_F(JoystickIdsTest, RememberedIdsHoldWhateverTheNodeOrder) {
    ids->Remember(InstanceGuid(Pad("usb-1")), 1, "Twin Pad");
    ids->Remember(InstanceGuid(Pad("usb-2")), 0, "Twin Pad");
    ids->Remember(InstanceGuid(Pad("usb-4")), 0, "Twin Pad"); // ID taken: ignored
    kernel->Add(Pad("usb-1"));
    kernel->Add(Pad("usb-2"));
    kernel->Add(Pad("usb-4", "Other Pad"));
    EXPECT_EQ(Scan(), (Ids{{"usb-1", 1}, {"usb-2", 0}, {"usb-4", 2}}));
}

// A pad without a serial moved to another port has a new GUID: it takes the remembered ID of
// its name while the remembered GUID is absent, and only then.
TEST_F(JoystickIdsTest, AMovedPadTakesTheRememberedIdOfItsName) {
    ids->Remember(InstanceGuid(Pad("usb-1")), 3, "Twin Pad");
    ids->Remember(InstanceGuid(Pad("usb-2")), 5, "Twin Pad");
    kernel->Add(Pad("usb-2"));
    kernel->Add(Pad("usb-3", "Other Pad")); // another name: the lowest free ID
    kernel->Add(Pad("usb-4"));
    EXPECT_EQ(Scan(), (Ids{{"usb-2", 5}, {"usb-3", 0}, {"usb-4", 3}}));
    // The ID went with the controller: its old port is a stranger now.
    kernel->Add(Pad("usb-1"));
    EXPECT_EQ(Scan(), (Ids{{"usb-1", 1}, {"usb-2", 5}, {"usb-3", 0}, {"usb-4", 3}}));
}

} // namespace
} // namespace padwright
