#pragma once
// Which X display a connection goes to, and the words for failing to reach it, the same for every
// connection the injectors make.
#include <string>

namespace padwright {

// The display a connection to `displayName` reaches: that name, or DISPLAY's when it is null, as
// Xlib and xcb choose. Null or empty when neither names one.
const char* ChosenDisplay(const char* displayName);

// "cannot open X display <name>", or "no X display" when none is named.
std::string CannotOpenDisplayText(const char* displayName);

} // namespace padwright
