#include "store/ProfileOperations.h"

namespace padwright {

TProfile& AddProfile(TLists& lists, std::string_view name) {
    return lists.Profiles.push_back(NewProfile(name));
}

TProfile& CopyProfile(TLists& lists, std::size_t index, std::string_view name) {
    TProfile& copy = lists.Profiles.push_back(lists.Profiles[index]);
    copy.Name.assign(name);
    return copy;
}

void DeleteProfile(TLists& lists, std::size_t index) {
    const auto number = static_cast<std::int32_t>(index) + 1;
    for (TJoystick& joystick : lists.ActiveJoysticks) {
        if (joystick.Profile == number)
            joystick.Profile = 0;
        else if (joystick.Profile > number)
            --joystick.Profile;
    }
    lists.Profiles.erase(index);
}

} // namespace padwright
