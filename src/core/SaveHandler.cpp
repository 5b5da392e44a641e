#include "core/SaveHandler.h"

#include "engine/Errors.h"

#include <optional>
#include <string>

namespace padwright {

void cmdSaveClick(SettingsContext& context, ProfileStore& store, bool startMinimized) {
    // Settings the user cannot write must not cost the profiles too.
    std::optional<std::string> settingsFailure;
    try {
        SaveSettings(context, startMinimized);
    } catch (const Error& error) {
        settingsFailure = error.what();
    }
    try {
        store.Save(context.Lists.Profiles);
    } catch (const Error& error) {
        if (settingsFailure)
            throw Error(*settingsFailure + "\n" + error.what());
        throw;
    }
    if (settingsFailure)
        throw Error(*settingsFailure);
}

} // namespace padwright
