// Following plugging: the found list and the active controllers after the kernel reported a
// change among the event nodes.
#include "input/ControllerAccess.h"

#include <algorithm>
#include <optional>

namespace padwright {

namespace {

bool Contains(const std::vector<GUID>& guids, const GUID& guid) {
    return std::find(guids.begin(), guids.end(), guid) != guids.end();
}

} // namespace

ControllerAccess::Survey ControllerAccess::SurveyControllers() {
    Survey survey;
    std::shared_ptr<IDirectInput8> directInput;
    if (!entry_ || FAILED(entry_(directInput)) || !directInput)
        return survey;
    survey.started = true;
    directInput->EnumDevices(
        DI8DEVCLASS_GAMECTRL,
        [&](const DIDEVICEINSTANCEA& device, void*) {
            // Opened as the found list's enumeration opens it, so both agree on what is listed.
            std::shared_ptr<IDirectInputDevice8> temporary;
            const HRESULT hr = directInput->CreateDevice(device.guidInstance, temporary);
            if (hr == DI_OK && temporary)
                survey.openable.push_back(device.guidInstance);
            else if (hr == E_ACCESSDENIED)
                survey.denied.push_back(device.guidInstance);
            return DIENUM_CONTINUE;
        },
        nullptr, DIEDFL_ATTACHEDONLY);
    return survey;
}

ControllerAccess::PlugResult ControllerAccess::FollowPlugging(bool lastTry) {
    const Survey survey = SurveyControllers();
    if (!survey.started)
        return PlugResult::Done; // a Refresh would find nothing either
    const bool newlyDenied =
        std::any_of(survey.denied.begin(), survey.denied.end(),
                    [&](const GUID& guid) { return !Contains(deniedListed_, guid); });
    if (newlyDenied && !lastTry)
        return PlugResult::TryAgain;
    std::vector<GUID> listed;
    for (const TJoystick& found : lists_.FoundJoysticks)
        listed.push_back(found.Guid);
    // A mouse, a keyboard or our own virtual device changes neither.
    if (listed != survey.openable || newlyDenied)
        RefreshKeepingSelection();
    ReopenReturned(survey.openable);
    return PlugResult::Done;
}

void ControllerAccess::RefreshKeepingSelection() {
    const int k = View.cmbFoundDevices.ItemIndex;
    std::optional<GUID> selected;
    if (k >= 0 && k < lists_.FoundJoysticks.count())
        selected = lists_.FoundJoysticks[static_cast<std::size_t>(k)].Guid;
    cmdRefreshClick();
    if (!selected)
        return;
    for (int i = 0; i < lists_.FoundJoysticks.count(); ++i) {
        if (lists_.FoundJoysticks[static_cast<std::size_t>(i)].Guid == *selected) {
            View.cmbFoundDevices.ItemIndex = i;
            cmbFoundDevicesClick(); // Add stays usable for it
            return;
        }
    }
}

void ControllerAccess::ReopenReturned(const std::vector<GUID>& present) {
    if (userStopped_)
        return; // the user's Stop holds until the user's Start
    bool reopened = false;
    bool mayRescan = true; // as Start: one scan for all of them
    for (std::int32_t i = 0; i < lists_.ActiveJoysticks.count(); ++i) {
        TJoystick& c = lists_.ActiveJoysticks[static_cast<std::size_t>(i)];
        if (!Contains(present, c.Guid))
            continue;
        if (c.Acquired) {
            // Still read from a live node: nothing to do. A node that went and came back
            // while no cycle ran (reading off) still looks open: close it as the cycle would.
            if (c.Device) {
                const HRESULT hr = c.Device->Poll();
                if (hr == DI_OK || hr == DI_NOEFFECT)
                    continue;
            }
            if (ReleaseHeld)
                ReleaseHeld(c);
            c.Acquired = false;
        }
        reopened = OpenController(i, OpenVariant::Start, mayRescan) || reopened;
    }
    if (reopened && nothingRead_ && ReadingOn && !ReadingOn()) {
        nothingRead_ = false;
        host_.ResumeReading();
    }
}

} // namespace padwright
