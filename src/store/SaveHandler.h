#pragma once
#include "store/ProfileStore.h"
#include "store/Settings.h"

namespace padwright {

// The Save button: the settings first, then the profile store. A store that cannot be written
// raises Error after the settings are saved; the old store is then left as it was.
void cmdSaveClick(SettingsContext& context, ProfileStore& store, bool startMinimized);

} // namespace padwright
