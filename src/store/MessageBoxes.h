#pragma once
// The message boxes the program shows, whoever shows them: the windows' dialogs in the program,
// recorders in tests.
#include "store/StoreFormat.h"

#include <string>
#include <string_view>

namespace padwright {

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // A plain modal box with an OK button, the warning icon and no owner window ("Attention",
    // "Warning", "Error").
    virtual void Warning(std::string_view text, std::string_view title) = 0;
    // The standard error box: title "Padwright", the stop icon, owned by the main window.
    virtual void Error(std::string_view text) = 0;
};

inline constexpr const char* StoreNotCompatibleText =
    "Padwright.pro is not compatible with this version.";
// Shown once, when a save sets aside a store that could not be loaded.
inline std::string StoreKeptText(std::string_view backup) {
    return "The profile store that could not be read is kept as \"" + std::string(backup) + "\".";
}
inline constexpr const char* NotAValidProfileText = "This file does not contain a valid profile.";
// Add, Copy and Import stop where the store's loader does, so that what Save writes the next start
// can read.
inline std::string ProfileLimitText() {
    return "A profile store holds at most " + std::to_string(MaxStoredProfiles) + " profiles.";
}
inline constexpr const char* TimeIntervalRangeText = "Range for time interval is 1-2000.";
inline constexpr const char* MaxJoysticksRangeText =
    "Range for maximum number of joysticks is 1-100.";

} // namespace padwright
