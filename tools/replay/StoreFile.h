#pragma once
#include "engine/Lists.h"

#include <string>

namespace padwright::replay {

// Appends the profiles of a store file in the current 15040-byte format to `profiles`.
// Throws Error: the input/output error when the file cannot be read, the program's own
// warning when its size is no whole number of records.
void LoadStoreFile(const std::string& path, StableList<TProfile>& profiles);

} // namespace padwright::replay
