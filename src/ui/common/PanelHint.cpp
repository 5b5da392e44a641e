#include "ui/common/PanelHint.h"

#include "core/Core.h"

namespace padwright {

namespace {

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

std::string PanelHintText(Core& core, const TJoystick* selected, bool profileShown, bool hasRows) {
    if (hasRows)
        return {};
    const TLists& lists = core.Lists;
    const auto& denied = core.Controllers.DeniedNames();
    if (lists.FoundJoysticks.empty() && lists.ActiveJoysticks.empty()) {
        std::string text = "No game controller was found. Plug one in: it appears under "
                           "\"Controllers Found\" by itself.";
        if (!denied.empty())
            text += "\n\n" + Quoted(denied.front()) +
                    " is a game controller this user may not read. A udev rule that tags it "
                    "\"uaccess\" gives access to the user at the seat (systemd does so for the "
                    "joysticks it recognises); or add the user to the \"input\" group (sudo "
                    "usermod -aG input $USER) and log in again.";
        return text;
    }
    if (lists.ActiveJoysticks.empty())
        return "No controller is active yet. Pick one under \"Controllers Found\" and press Add.";
    if (!selected)
        return "Pick an active controller under \"Active Controllers\" to see and change what its "
               "controls do.";
    std::string said;
    auto say = [&said](const std::string& paragraph) {
        said += (said.empty() ? "" : "\n\n") + paragraph;
    };
    bool connected = false;
    for (const TJoystick& found : lists.FoundJoysticks)
        connected = connected || found.Guid == selected->Guid;
    if (!connected)
        say(Quoted(selected->Name) + " is not connected. Plug it in: Padwright reads it again by "
                                     "itself.");
    if (!profileShown)
        say("This controller has no profile. Choose one under \"Profiles\", or add one with \">\" "
            "-> Add.");
    else if (connected)
        say(Quoted(selected->Name) + " has no axes, hats or buttons to show. If it was plugged in "
                                     "again just now, pick it again under \"Active Controllers\".");
    return said;
}

} // namespace padwright
