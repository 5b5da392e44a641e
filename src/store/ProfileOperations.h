#pragma once
// Adding, copying, renaming and deleting profiles in Profiles, keeping every controller's
// profile number pointing at the same profile.
#include "engine/Lists.h"

#include <string_view>

namespace padwright {

// How many more profiles the list may take before the store would hold more than its loader
// accepts (MaxStoredProfiles).
std::int64_t ProfileRoom(const StableList<TProfile>& profiles);

// Add and Copy raise Error with ProfileLimitText() when there is no room.
// Appends a new profile (every byte 0) with `name` cut to 255 bytes.
TProfile& AddProfile(TLists& lists, std::string_view name);
// Appends a byte-for-byte copy of profile `index` (run-time fields included) under `name`.
TProfile& CopyProfile(TLists& lists, std::size_t index, std::string_view name);
// Removes profile `index`: controllers using it get no profile (0), controllers using a later
// one have their number lowered by one; so do the profiles rules or commands set for them. The
// program rules naming it go with it, and later ones are renumbered as the controllers are.
void DeleteProfile(TLists& lists, std::size_t index);

} // namespace padwright
