#include "store/SaveHandler.h"

namespace padwright {

void cmdSaveClick(SettingsContext& context, ProfileStore& store, bool startMinimized) {
    SaveSettings(context, startMinimized);
    store.Save(context.Lists.Profiles);
}

} // namespace padwright
