// The active controllers: adding, opening, enumerating, removing, starting and stopping.
#include "engine/ShortString.h"
#include "input/ControllerAccess.h"

#include <cstring>
#include <string>

namespace padwright {

namespace {

std::string ObjectName(const DIDEVICEOBJECTINSTANCEA& object) {
    return Utf8Cut(std::string_view(object.tszName, strnlen(object.tszName, MAX_PATH)),
                   NameCapacity);
}

bool SameController(const TJoystick& a, const TJoystick& b) {
    return SameControllerName(a.Name, b.Name) && a.JoystickID == b.JoystickID && a.Guid == b.Guid;
}

} // namespace

void ControllerAccess::cmdAddDeviceClick() {
    const int k = View.cmbFoundDevices.ItemIndex;
    if (k < 0 || k >= lists_.FoundJoysticks.count())
        return;
    const TJoystick& found = lists_.FoundJoysticks[static_cast<std::size_t>(k)];
    for (const TJoystick& active : lists_.ActiveJoysticks)
        if (SameController(active, found))
            return;
    if (lists_.ActiveJoysticks.count() >= lists_.MaxJoysticks)
        return;
    TJoystick& added = lists_.ActiveJoysticks.push_back(found);
    added.Device.reset(); // a found record holds none; never share one
    added.Acquired = false;
    added.ClearObjectCounts();
    const auto index = static_cast<std::int32_t>(lists_.ActiveJoysticks.count() - 1);
    // Listed whether or not it opens, also when logging the failure throws.
    struct List {
        ControllerAccess& self;
        const TJoystick& added;
        ~List() {
            self.View.cmbDevices.Add(ControllerListText(added));
            self.Changed();
        }
    } list{*this, added};
    OpenController(index, OpenVariant::Add);
}

bool ControllerAccess::OpenController(std::int32_t index, OpenVariant variant) {
    bool mayRescan = true;
    return OpenController(index, variant, mayRescan);
}

HRESULT ControllerAccess::CreateController(TJoystick& c) {
    c.Device.reset();
    c.Notification = -1;
    // With no DirectInput object (its start failed) opening fails as a create would.
    HRESULT hr = directInput_ ? directInput_->CreateDevice(c.Guid, c.Device) : DIERR_NOTINITIALIZED;
    if (hr == DI_OK && !c.Device)
        hr = DIERR_GENERIC;
    return hr;
}

void ControllerAccess::RescanControllers() {
    if (directInput_)
        directInput_->EnumDevices(
            DI8DEVCLASS_GAMECTRL, [](const DIDEVICEINSTANCEA&, void*) { return DIENUM_CONTINUE; },
            nullptr, DIEDFL_ATTACHEDONLY);
}

bool ControllerAccess::OpenController(std::int32_t index, OpenVariant variant, bool& mayRescan) {
    TJoystick& c = lists_.ActiveJoysticks[static_cast<std::size_t>(index)];
    const char* prefix = "Failed to create device: ";
    HRESULT hr = CreateController(c);
    // Whatever failed on the node where the controller was last seen (gone, or taken by a
    // device this user may not read), it may have been plugged in again elsewhere: scan once
    // and try the fresh entry. Only the last try is logged.
    if (hr != DI_OK && mayRescan && directInput_) {
        mayRescan = false;
        RescanControllers();
        hr = CreateController(c);
    }
    if (hr == DI_OK) {
        prefix = "Failed to set coop level: ";
        hr = c.Device->SetCooperativeLevel(appWindow_, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    }
    if (hr == DI_OK) {
        prefix = "Failed to set data format: ";
        hr = c.Device->SetDataFormat(&c_dfDIJoystick2);
    }
    if (hr == DI_OK) {
        // Only before Acquire, which is when DirectInput allows it. A device that cannot
        // signal is simply polled, so a refusal is nothing to log.
        int event = -1;
        if (c.Device->SetEventNotification(&event) == DI_OK)
            c.Notification = event;
        prefix = "Failed to acquire device: ";
        hr = c.Device->Acquire();
    }
    if (hr != DI_OK) {
        c.Acquired = false;
        host_.LogDirectInputError(prefix, hr);
        return false;
    }
    if (variant == OpenVariant::Start)
        c.ClearObjectCounts();
    // The controller is the callback's own: DirectInput's context pointer stays unused.
    c.Device->EnumObjects([this, &c](const DIDEVICEOBJECTINSTANCEA& object,
                                     void*) { return ControllerObjectCallback(object, c); },
                          nullptr, DIDFT_ALL);
    c.Acquired = true;
    return true;
}

void ControllerAccess::SetAxisProperties(const TJoystick& c,
                                         const DIDEVICEOBJECTINSTANCEA& object) {
    if ((object.dwType & DIDFT_ABSAXIS) == 0 || !c.Device)
        return;
    DIPROPRANGE range;
    range.diph = {sizeof range, sizeof(DIPROPHEADER), object.dwType, DIPH_BYID};
    range.lMin = -c.MaxVal;
    range.lMax = c.MaxVal;
    c.Device->SetProperty(DIPROP_RANGE, &range.diph);
    DIPROPDWORD deadZone;
    deadZone.diph = {sizeof deadZone, sizeof(DIPROPHEADER), object.dwType, DIPH_BYID};
    deadZone.dwData = static_cast<DWORD>(c.DeadZone) * 100;
    c.Device->SetProperty(DIPROP_DEADZONE, &deadZone.diph);
}

int ControllerAccess::ControllerObjectCallback(const DIDEVICEOBJECTINSTANCEA& object,
                                               TJoystick& c) {
    SetAxisProperties(c, object);
    const GUID& type = object.guidType;
    // Objects past what the record and the state format hold are neither counted nor named.
    if (type == GUID_XAxis) {
        ++c.XCount;
        c.XName = ObjectName(object);
    } else if (type == GUID_YAxis) {
        ++c.YCount;
        c.YName = ObjectName(object);
    } else if (type == GUID_ZAxis) {
        ++c.ZCount;
        c.ZName = ObjectName(object);
    } else if (type == GUID_Slider) {
        if (c.SliderCount < MaxSliders)
            c.SliderNames[static_cast<std::size_t>(c.SliderCount++)] = ObjectName(object);
    } else if (type == GUID_RxAxis) {
        ++c.RxCount;
        c.RxName = ObjectName(object);
    } else if (type == GUID_RyAxis) {
        ++c.RyCount;
        c.RyName = ObjectName(object);
    } else if (type == GUID_RzAxis) {
        ++c.RzCount;
        c.RzName = ObjectName(object);
    } else if (type == GUID_Button) {
        if (c.ButtonCount < MaxButtons)
            c.ButtonNames[static_cast<std::size_t>(c.ButtonCount++)] =
                Utf8Cut("Button: " + ObjectName(object), NameCapacity);
    } else if (type == GUID_POV) {
        if (c.POVCount < MaxHats) {
            const auto n = static_cast<std::size_t>(c.POVCount++);
            c.POVNames[n] = ObjectName(object);
            DIPROPRANGE range;
            std::memset(&range, 0, sizeof range);
            range.diph = {sizeof range, sizeof(DIPROPHEADER), object.dwType, DIPH_BYID};
            // On failure the hat keeps the range it had.
            if (c.Device && c.Device->GetProperty(DIPROP_LOGICALRANGE, &range.diph) == DI_OK)
                c.POVMax[n] = range.lMax;
        }
    }
    return DIENUM_CONTINUE;
}

int ControllerAccess::AxisPropertyCallback(const DIDEVICEOBJECTINSTANCEA& object,
                                           const TJoystick& controller) {
    SetAxisProperties(controller, object);
    return DIENUM_CONTINUE;
}

void ControllerAccess::ApplyAxisProperties(std::int32_t index) {
    const TJoystick& c = lists_.ActiveJoysticks[static_cast<std::size_t>(index)];
    if (!c.Device)
        return;
    c.Device->EnumObjects([this, &c](const DIDEVICEOBJECTINSTANCEA& object,
                                     void*) { return AxisPropertyCallback(object, c); },
                          nullptr, DIDFT_AXIS);
}

void ControllerAccess::cmdRemoveDeviceClick() {
    if (!View.cmbDevices.HasSelection())
        return;
    const auto k = static_cast<std::size_t>(View.cmbDevices.ItemIndex);
    CloseController(lists_.ActiveJoysticks[k]);
    View.cmbDevices.Clear();
    lists_.ActiveJoysticks.erase(k);
    for (const TJoystick& c : lists_.ActiveJoysticks)
        View.cmbDevices.Add(ControllerListText(c));
    host_.SelectionCleared();
    Changed();
}

void ControllerAccess::OpenClosedControllers() {
    bool mayRescan = true; // one scan for all of them, however many are not attached
    for (std::int32_t i = 0; i < lists_.ActiveJoysticks.count(); ++i)
        if (!lists_.ActiveJoysticks[static_cast<std::size_t>(i)].Acquired)
            OpenController(i, OpenVariant::Start, mayRescan);
}

void ControllerAccess::popItemStartClick() {
    userStopped_ = false;
    nothingRead_ = false;
    OpenClosedControllers();
    host_.ResumeReading();
}

void ControllerAccess::RememberJoystickIds() {
    if (!JoystickIds)
        return;
    for (const TJoystick& c : lists_.ActiveJoysticks)
        JoystickIds->Remember(c.Guid, c.JoystickID, c.Name);
}

void ControllerAccess::popItemStopClick() {
    userStopped_ = true;
    nothingRead_ = false;
    host_.PauseReading();
    for (TJoystick& c : lists_.ActiveJoysticks)
        if (c.Acquired)
            CloseController(c);
}

void ControllerAccess::CloseController(TJoystick& c) {
    host_.ReleaseHeld(c);
    if (c.Acquired && c.Device)
        c.Device->Unacquire();
    c.Acquired = false;
}

} // namespace padwright
