#pragma once
#include "core/Settings.h"
#include "store/ProfileStore.h"

namespace padwright {

// The Save button: the settings first, then the profile store. Either failing raises Error once
// both have been tried, with the text of each failure; a store that cannot be written is left as
// it was.
void cmdSaveClick(SettingsContext& context, ProfileStore& store, bool startMinimized);

} // namespace padwright
