// Starting DirectInput and listing the attached controllers.
#include "engine/ShortString.h"
#include "input/ControllerAccess.h"
#include "platform/Utf8Fit.h"

#include <cstring>
#include <string>

namespace padwright {

ControllerAccess::ControllerAccess(TLists& lists, IEngineHost& host, DirectInputEntry entry,
                                   WindowHandle appWindow)
    : lists_(lists), host_(host), entry_(std::move(entry)), appWindow_(appWindow) {}

void ControllerAccess::Changed() {
    if (ViewChanged)
        ViewChanged();
}

void ControllerAccess::StartDirectInput() {
    directInput_.reset();
    deniedListed_.clear();
    deniedNames_.clear();
    // Without an entry point there is nothing to start and nothing to say: no controllers.
    if (!entry_)
        return;
    const HRESULT hr = entry_(directInput_);
    if (FAILED(hr) || !directInput_) {
        directInput_.reset();
        host_.LogDirectInputError("Failed to start DirectInput: ", hr);
        return;
    }
    // Keep the object alive through enumeration even if a callback replaced it.
    const std::shared_ptr<IDirectInput8> directInput = directInput_;
    directInput->EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [this](const DIDEVICEINSTANCEA& device, void* context) {
            return FoundControllerCallback(device, context);
        },
        nullptr, DIEDFL_ATTACHEDONLY);
}

int ControllerAccess::FoundControllerCallback(const DIDEVICEINSTANCEA& device, void*) {
    std::shared_ptr<IDirectInputDevice8> temporary;
    const HRESULT hr = directInput_ ? directInput_->CreateDevice(device.guidInstance, temporary)
                                    : DIERR_NOTINITIALIZED;
    if (hr != DI_OK || !temporary) {
        if (hr == E_ACCESSDENIED) {
            deniedListed_.push_back(device.guidInstance);
            deniedNames_.push_back(Utf8Repaired(device.tszInstanceName));
        }
        host_.LogDirectInputError("Failed to create device: ", FAILED(hr) ? hr : DIERR_GENERIC);
        return DIENUM_CONTINUE;
    }
    // Failed reads leave an empty name and ID 0, and the controller is listed all the same.
    DIPROPSTRING name;
    std::memset(&name, 0, sizeof name);
    name.diph = {sizeof name, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    temporary->GetProperty(DIPROP_INSTANCENAME, &name.diph);
    name.wsz[sizeof name.wsz - 1] = '\0';
    DIPROPDWORD id;
    std::memset(&id, 0, sizeof id);
    id.diph = {sizeof id, sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    temporary->GetProperty(DIPROP_JOYSTICKID, &id.diph);

    // Device names are bytes as the device reports them; the lists and the settings hold text,
    // and a name that changed on its way through them would no longer find its controller.
    const std::string fullName = Utf8Repaired(name.wsz);
    TJoystick& found = lists_.FoundJoysticks.emplace_back();
    found.Name = Utf8Cut(fullName, NameCapacity);
    found.JoystickID = id.dwData;
    found.Guid = device.guidInstance;
    // The found list shows the name uncut.
    View.cmbFoundDevices.Add("Name: " + fullName + " -- ID: " + std::to_string(id.dwData));
    return DIENUM_CONTINUE;
}

void ControllerAccess::cmdRefreshClick() {
    View.cmdRefresh.Enabled = false;
    View.cmdAddDevice.Enabled = false;
    View.cmdRemoveDevice.Enabled = false;
    // A log line that cannot be written ends the refresh; the buttons must not stay disabled.
    struct Restore {
        ControllerAccess& self;
        ~Restore() {
            if (self.View.cmbDevices.HasSelection())
                self.View.cmdRemoveDevice.Enabled = true;
            self.View.cmdRefresh.Enabled = true;
            self.Changed();
        }
    } restore{*this};
    View.cmbFoundDevices.Clear();
    lists_.FoundJoysticks.clear();
    StartDirectInput();
}

void ControllerAccess::cmbFoundDevicesClick() {
    View.cmdAddDevice.Enabled = View.cmbFoundDevices.ItemIndex >= 0;
    Changed();
}

} // namespace padwright
