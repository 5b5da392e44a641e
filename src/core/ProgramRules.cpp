#include "core/ProgramRules.h"

#include "core/Core.h"

#include <algorithm>

namespace padwright {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool NamesController(const TProgramRule& rule, const TJoystick& controller) {
    GUID guid{};
    return StringToGuid(rule.Controller, guid) && guid == controller.Guid;
}

} // namespace

bool RuleNames(const TProgramRule& rule, const ForegroundProgram& program) {
    if (rule.Program.empty())
        return false;
    for (const std::string* field :
         {&program.wmClass, &program.wmInstance, &program.appId, &program.executable})
        if (SameIgnoringCase(rule.Program, *field))
            return true;
    return false;
}

std::int32_t RuleProfile(const TLists& lists, const TJoystick& controller,
                         const ForegroundProgram& program) {
    std::int32_t forAll = 0;
    for (const TProgramRule& rule : lists.Programs) {
        if (rule.Profile < 1 || rule.Profile > lists.Profiles.count() || !RuleNames(rule, program))
            continue;
        if (rule.Controller.empty()) {
            if (forAll == 0)
                forAll = rule.Profile;
        } else if (NamesController(rule, controller)) {
            return rule.Profile;
        }
    }
    return forAll;
}

std::string ProgramName(const ForegroundProgram& program) {
    for (const std::string* field :
         {&program.appId, &program.wmClass, &program.wmInstance, &program.executable})
        if (!field->empty())
            return *field;
    return {};
}

void ProgramFollower::ProgramInFront(const ForegroundProgram& program) {
    if (program.own || program == front_)
        return;
    front_ = program;
    Apply();
}

void ProgramFollower::RulesChanged() {
    if (front_)
        Apply();
}

void ProgramFollower::AddRule(TProgramRule rule) {
    core_.Lists.Programs.push_back(std::move(rule));
    RulesChanged();
}

void ProgramFollower::RemoveRule(std::size_t index) {
    auto& rules = core_.Lists.Programs;
    if (index >= rules.size())
        return;
    rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(index));
    RulesChanged();
}

void ProgramFollower::Apply() {
    std::vector<GUID> ruled;
    auto& controllers = core_.Lists.ActiveJoysticks;
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        const TJoystick& controller = controllers[i];
        const std::int32_t number = RuleProfile(core_.Lists, controller, *front_);
        if (number != 0) {
            ruled.push_back(controller.Guid);
            core_.FollowProfile(i, number);
        } else if (std::find(ruled_.begin(), ruled_.end(), controller.Guid) != ruled_.end()) {
            core_.FollowProfile(i, 0);
        }
    }
    ruled_ = std::move(ruled);
}

} // namespace padwright
