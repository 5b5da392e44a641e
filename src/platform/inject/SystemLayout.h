#pragma once
// The keyboard layout the system keeps for X11 (systemd-localed), for when no X display can be
// asked. Without a D-Bus client in the build nothing can be asked.
#include "platform/inject/KeyboardLayout.h"

#include <optional>
#include <string>

namespace padwright {

// nullopt with `error` set when the system names no layout or cannot be asked.
std::optional<XkbNames> ReadSystemLayout(std::string& error);

} // namespace padwright
