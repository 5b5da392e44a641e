// Starting DirectInput and listing the attached controllers.
#include "engine/ShortString.h"
#include "input/ControllerAccess.h"
#include "platform/Utf8Fit.h"

#include <cstring>
#include <string>

namespace padwright {

ControllerAccess::ControllerAccess(TLists& lists, IControllerHost& host, DirectInputEntry entry,
                                   WindowHandle appWindow)
    : lists_(lists), host_(host), entry_(std::move(entry)), appWindow_(appWindow) {}

void ControllerAccess::Changed() {
    host_.ViewChanged();
}

ControllerAccess::Survey ControllerAccess::SurveyControllers() {
    Survey survey;
    if (!entry_)
        return survey;
    survey.started = entry_(survey.directInput);
    if (FAILED(survey.started) || !survey.directInput) {
        survey.directInput.reset();
        return survey;
    }
    // Kept alive through enumeration whatever happens meanwhile.
    const std::shared_ptr<IDirectInput8> directInput = survey.directInput;
    directInput->EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [&](const DIDEVICEINSTANCEA& device, void*) {
            Survey::Seen& seen = survey.seen.emplace_back(Survey::Seen{device, DI_OK, nullptr});
            seen.created = directInput->CreateDevice(device.guidInstance, seen.temporary);
            return DIENUM_CONTINUE;
        },
        nullptr, DIEDFL_ATTACHEDONLY);
    return survey;
}

std::vector<GUID> ControllerAccess::Survey::Openable() const {
    std::vector<GUID> guids;
    for (const Seen& s : seen)
        if (s.created == DI_OK && s.temporary)
            guids.push_back(s.device.guidInstance);
    return guids;
}

std::vector<GUID> ControllerAccess::Survey::Denied() const {
    std::vector<GUID> guids;
    for (const Seen& s : seen)
        if (s.created == E_ACCESSDENIED)
            guids.push_back(s.device.guidInstance);
    return guids;
}

void ControllerAccess::StartDirectInput() {
    Survey survey = SurveyControllers();
    StartFrom(survey);
}

void ControllerAccess::StartFrom(Survey& survey) {
    directInput_.reset();
    deniedListed_.clear();
    deniedNames_.clear();
    // Without an entry point there is nothing to start and nothing to say: no controllers.
    if (!entry_)
        return;
    if (!survey.directInput) {
        host_.LogDirectInputError("Failed to start DirectInput: ", survey.started);
        return;
    }
    directInput_ = survey.directInput;
    for (Survey::Seen& seen : survey.seen) {
        // Each device is let go once listed, as the enumeration's own temporary would be.
        const std::shared_ptr<IDirectInputDevice8> temporary = std::move(seen.temporary);
        ListFound(seen.device, seen.created, temporary);
    }
}

int ControllerAccess::FoundControllerCallback(const DIDEVICEINSTANCEA& device) {
    std::shared_ptr<IDirectInputDevice8> temporary;
    const HRESULT hr = directInput_ ? directInput_->CreateDevice(device.guidInstance, temporary)
                                    : DIERR_NOTINITIALIZED;
    ListFound(device, hr, temporary);
    return DIENUM_CONTINUE;
}

void ControllerAccess::ListFound(const DIDEVICEINSTANCEA& device, HRESULT hr,
                                 const std::shared_ptr<IDirectInputDevice8>& temporary) {
    if (hr != DI_OK || !temporary) {
        if (hr == E_ACCESSDENIED) {
            deniedListed_.push_back(device.guidInstance);
            deniedNames_.push_back(Utf8Repaired(device.tszInstanceName));
        }
        host_.LogDirectInputError("Failed to create device: ", FAILED(hr) ? hr : DIERR_GENERIC);
        return;
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
}

void ControllerAccess::cmdRefreshClick() {
    Refresh(nullptr);
}

void ControllerAccess::Refresh(Survey* survey) {
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
    if (survey)
        StartFrom(*survey);
    else
        StartDirectInput();
}

void ControllerAccess::cmbFoundDevicesClick() {
    View.cmdAddDevice.Enabled = View.cmbFoundDevices.ItemIndex >= 0;
    Changed();
}

} // namespace padwright
