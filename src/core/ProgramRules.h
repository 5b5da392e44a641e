#pragma once
// Profiles that follow the program in front: which profile the rules give a controller, and the
// follower that switches the controllers when the desktop reports another program.
#include "engine/Lists.h"
#include "platform/focus/ForegroundProgram.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace padwright {

class Core;

// Whether `rule` names `program`: its text equals one of the WM_CLASS class or instance, the
// app id or the executable's name, ignoring the case of A to Z. No patterns.
bool RuleNames(const TProgramRule& rule, const ForegroundProgram& program);

// The profile number the rules give `controller` while `program` is in front, 0 when none does.
// A rule naming the controller comes before one for every controller, then the list's order
// decides; a rule whose profile does not exist counts as absent.
std::int32_t RuleProfile(const TLists& lists, const TJoystick& controller,
                         const ForegroundProgram& program);

// The name the program in front is shown by: its app id, else its WM_CLASS class, else its
// instance, else its executable; "" when nothing is in front.
std::string ProgramName(const ForegroundProgram& program);

class ProgramFollower {
public:
    explicit ProgramFollower(Core& core) : core_(core) {}

    // The desktop reports the program in front. Padwright's own windows are no change: the
    // program in front before them stays, and so do the profiles.
    void ProgramInFront(const ForegroundProgram& program);
    // The rules were changed: they apply to the program in front at once.
    void RulesChanged();
    // Appends a rule, and removes rule `index`; either applies at once. Saved by Save.
    void AddRule(TProgramRule rule);
    void RemoveRule(std::size_t index);
    // The program in front as last reported, own windows aside; nullopt before the first report.
    const std::optional<ForegroundProgram>& InFront() const { return front_; }

private:
    // Each controller a rule names for the program in front takes the rule's profile; one
    // that a rule set before and none sets now goes back to its own choice. The others keep
    // what they have, a command's profile included.
    void Apply();

    Core& core_;
    std::optional<ForegroundProgram> front_;
    std::vector<GUID> ruled_; // the controllers a rule set the profile of
};

} // namespace padwright
