#include "ui/common/ProgramsTexts.h"

#include "platform/dinput/DirectInput.h"
#include "platform/focus/ForegroundProgram.h"

namespace padwright {

std::string FollowingText(const IForegroundSource* source) {
    if (!source)
        return "Program following is not available: nothing in this build learns which program "
               "is in front.";
    if (!source->Available())
        return "Program following is not available: " + source->Unavailable();
    return "Profiles follow the program in front (" + source->Kind() + ").";
}

std::string RuleControllersText(const TLists& lists, const TProgramRule& rule) {
    if (rule.Controller.empty())
        return "All";
    for (const TJoystick& pad : lists.ActiveJoysticks)
        if (GuidToString(pad.Guid) == rule.Controller)
            return ControllerListText(pad);
    return rule.Controller;
}

std::string RuleProfileText(const TLists& lists, const TProgramRule& rule) {
    const std::int32_t number = rule.Profile;
    if (number < 1 || number > lists.Profiles.count())
        return "(profile " + std::to_string(number) + ", missing)";
    return std::string(lists.Profiles[static_cast<std::size_t>(number - 1)].Name.view());
}

} // namespace padwright
