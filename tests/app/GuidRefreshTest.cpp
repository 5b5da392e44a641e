#include "core/GuidRefresh.h"

#include <gtest/gtest.h>

namespace padwright {
namespace {

GUID Guid(std::uint32_t n) {
    return GUID{n, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
}

TJoystick Joystick(std::string name, std::uint32_t id, std::uint32_t guid) {
    TJoystick j;
    j.Name = std::move(name);
    j.JoystickID = id;
    j.Guid = Guid(guid);
    return j;
}

TEST(RefreshActiveGuids, TakesTheGuidOfTheFirstFoundControllerWithSameNameAndId) {
    struct Case {
        const char* what;
        TJoystick active;
        std::uint32_t expectedGuid;
    };
    const std::vector<TJoystick> found = {
        Joystick("Pad", 0, 100),     Joystick("Pad", 1, 101), Joystick("Pad", 1, 102),
        Joystick("Pad Pro", 2, 103), Joystick("pad", 3, 104),
    };
    const std::vector<Case> cases = {
        {"same name and id", Joystick("Pad", 0, 1), 100},
        {"first of two matches", Joystick("Pad", 1, 2), 101},
        {"name is only a prefix", Joystick("Pad", 2, 3), 3},
        {"name differs in case", Joystick("Pad", 3, 4), 4},
        {"same name, other id", Joystick("Pad Pro", 0, 5), 5},
        {"not attached", Joystick("Wheel", 0, 6), 6},
    };
    TLists lists;
    for (const TJoystick& f : found)
        lists.FoundJoysticks.push_back(f);
    for (const Case& c : cases)
        lists.ActiveJoysticks.push_back(c.active);

    RefreshActiveGuids(lists);

    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(lists.ActiveJoysticks[i].Guid, Guid(cases[i].expectedGuid)) << cases[i].what;
}

TEST(RefreshActiveGuids, CopiesNothingButTheGuid) {
    TLists lists;
    TJoystick found = Joystick("Pad", 0, 100);
    found.MaxVal = 1000;
    found.Profile = 3;
    found.Acquired = true;
    lists.FoundJoysticks.push_back(found);
    TJoystick active = Joystick("Pad", 0, 1);
    active.MaxVal = 20;
    active.Profile = 1;
    lists.ActiveJoysticks.push_back(active);

    RefreshActiveGuids(lists);

    const TJoystick& after = lists.ActiveJoysticks[0];
    EXPECT_EQ(after.Guid, Guid(100));
    EXPECT_EQ(after.MaxVal, 20);
    EXPECT_EQ(after.Profile, 1);
    EXPECT_FALSE(after.Acquired);
    EXPECT_EQ(lists.FoundJoysticks[0].Guid, Guid(100));
}

} // namespace
} // namespace padwright
