#include "store/ProfileOperations.h"

#include "engine/Errors.h"
#include "store/MessageBoxes.h"

namespace padwright {

namespace {

void NeedRoom(const StableList<TProfile>& profiles) {
    if (ProfileRoom(profiles) <= 0)
        throw Error(ProfileLimitText());
}

} // namespace

std::int64_t ProfileRoom(const StableList<TProfile>& profiles) {
    return MaxStoredProfiles - static_cast<std::int64_t>(profiles.size());
}

TProfile& AddProfile(TLists& lists, std::string_view name) {
    NeedRoom(lists.Profiles);
    return lists.Profiles.push_back(NewProfile(name));
}

TProfile& CopyProfile(TLists& lists, std::size_t index, std::string_view name) {
    NeedRoom(lists.Profiles);
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
