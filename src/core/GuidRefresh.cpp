#include "core/GuidRefresh.h"

namespace padwright {

void RefreshActiveGuids(TLists& lists) {
    for (TJoystick& active : lists.ActiveJoysticks) {
        for (const TJoystick& found : lists.FoundJoysticks) {
            if (SameControllerName(found.Name, active.Name) &&
                found.JoystickID == active.JoystickID) {
                active.Guid = found.Guid;
                break;
            }
        }
    }
}

} // namespace padwright
