#pragma once
// What the Programs dialog shows, in every front-end: whether following works here, and a rule's
// columns.
#include "engine/Lists.h"

#include <string>

namespace padwright {

class IForegroundSource;

// On which desktop following works, or why it does not; `source` null: the build has none.
std::string FollowingText(const IForegroundSource* source);

// The controllers a rule names: "All", the active controller's list text, else its GUID.
std::string RuleControllersText(const TLists& lists, const TProgramRule& rule);
// The profile a rule gives, by name, or a note that it is missing.
std::string RuleProfileText(const TLists& lists, const TProgramRule& rule);

} // namespace padwright
