#include "platform/inject/XDisplayName.h"

#include <cstdlib>

namespace padwright {

const char* ChosenDisplay(const char* displayName) {
    return displayName ? displayName : std::getenv("DISPLAY");
}

std::string CannotOpenDisplayText(const char* displayName) {
    const char* shown = ChosenDisplay(displayName);
    return shown && *shown ? std::string("cannot open X display ") + shown
                           : std::string("no X display");
}

} // namespace padwright
