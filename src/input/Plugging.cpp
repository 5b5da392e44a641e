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

ControllerAccess::PlugResult ControllerAccess::FollowPlugging(bool lastTry) {
    // One scan: what it finds is compared with the found list and, when they differ, listed.
    Survey survey = SurveyControllers();
    if (!survey.directInput)
        return PlugResult::Done; // a Refresh would find nothing either
    const std::vector<GUID> denied = survey.Denied();
    const bool newlyDenied = std::any_of(denied.begin(), denied.end(), [&](const GUID& guid) {
        return !Contains(deniedListed_, guid);
    });
    if (newlyDenied && !lastTry)
        return PlugResult::TryAgain;
    const std::vector<GUID> openable = survey.Openable();
    std::vector<GUID> listed;
    for (const TJoystick& found : lists_.FoundJoysticks)
        listed.push_back(found.Guid);
    // A mouse, a keyboard or our own virtual device changes neither.
    if (listed != openable || newlyDenied)
        RefreshKeepingSelection(survey);
    ReopenReturned(openable);
    return PlugResult::Done;
}

void ControllerAccess::RefreshKeepingSelection(Survey& survey) {
    const int k = View.cmbFoundDevices.ItemIndex;
    std::optional<GUID> selected;
    if (k >= 0 && k < lists_.FoundJoysticks.count())
        selected = lists_.FoundJoysticks[static_cast<std::size_t>(k)].Guid;
    Refresh(&survey);
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
            host_.ReleaseHeld(c);
            c.Acquired = false;
        }
        reopened = OpenController(i, OpenVariant::Start, mayRescan) || reopened;
    }
    if (reopened && nothingRead_ && !host_.ReadingOn()) {
        nothingRead_ = false;
        host_.ResumeReading();
    }
}

} // namespace padwright
