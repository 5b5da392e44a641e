#include "store/ProfileOperations.h"

#include "engine/Errors.h"
#include "store/MessageBoxes.h"

namespace padwright {

namespace {

void NeedRoom(const StableList<TProfile>& profiles) {
    if (ProfileRoom(profiles) <= 0)
        throw Error(ProfileLimitText());
}

// A 1-based profile number once profile `index` (0-based) is gone: 0 for that profile.
std::int32_t NumberAfterDelete(std::int32_t number, std::size_t index) {
    const auto deleted = static_cast<std::int32_t>(index) + 1;
    if (number == deleted)
        return 0;
    return number > deleted ? number - 1 : number;
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
    for (TJoystick& joystick : lists.ActiveJoysticks) {
        joystick.Profile = NumberAfterDelete(joystick.Profile, index);
        joystick.FollowedProfile = NumberAfterDelete(joystick.FollowedProfile, index);
    }
    const auto deleted = static_cast<std::int32_t>(index) + 1;
    std::erase_if(lists.Programs,
                  [&](const TProgramRule& rule) { return rule.Profile == deleted; });
    for (TProgramRule& rule : lists.Programs)
        rule.Profile = NumberAfterDelete(rule.Profile, index);
    lists.Profiles.erase(index);
}

} // namespace padwright
