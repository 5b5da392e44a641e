#include "core/InstanceCommands.h"

#include "core/Core.h"

namespace padwright {

namespace {

// 1-based, 0 when no profile has that name.
std::int32_t FirstProfileNamed(const StableList<TProfile>& profiles, std::string_view name) {
    std::int32_t number = 0;
    for (const TProfile& profile : profiles) {
        ++number;
        if (profile.Name.view() == name)
            return number;
    }
    return 0;
}

} // namespace

std::string StatusText(Core& core, const std::string& inFront) {
    std::string text;
    for (const TJoystick& controller : core.Lists.ActiveJoysticks) {
        const TProfile* profile = core.Lists.ProfileOf(controller);
        text += ControllerListText(controller);
        text += '\t';
        text += profile ? profile->Name.str() : std::string();
        text += '\t';
        text += core.ReadingOn() && controller.Acquired ? "on" : "off";
        text += '\t';
        text += inFront;
        text += '\n';
    }
    return text;
}

std::string SwitchToProfileNamed(Core& core, const std::string& name,
                                 std::optional<std::uint32_t> id) {
    const std::int32_t number = FirstProfileNamed(core.Lists.Profiles, name);
    if (number == 0)
        return "Padwright has no profile named \"" + name + "\".";
    auto& controllers = core.Lists.ActiveJoysticks;
    bool found = false;
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        if (id && controllers[i].JoystickID != *id)
            continue;
        found = true;
        core.FollowProfile(i, number);
    }
    if (!found)
        return id ? "Padwright has no active controller with the ID " + std::to_string(*id) + "."
                  : std::string("Padwright has no active controller.");
    return {};
}

InstanceAnswer AnswerRequest(Core& core, const InstanceRequest& request, const std::string& inFront,
                             const std::function<void()>& show) {
    InstanceAnswer answer;
    switch (request.kind) {
    case InstanceRequest::Status:
        answer.text = StatusText(core, inFront);
        break;
    case InstanceRequest::Profile:
        core.Run([&] {
            answer.text = SwitchToProfileNamed(
                core, request.profile,
                request.controller < 0
                    ? std::nullopt
                    : std::optional<std::uint32_t>(static_cast<std::uint32_t>(request.controller)));
        });
        answer.done = answer.text.empty();
        break;
    case InstanceRequest::Start:
        core.Run([&] { core.StartReading(); });
        break;
    case InstanceRequest::Stop:
        core.Run([&] { core.StopReading(); });
        break;
    case InstanceRequest::Show:
        if (show)
            show();
        break;
    }
    return answer;
}

} // namespace padwright
