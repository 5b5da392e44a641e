#pragma once
// The keyboard layout systemd-localed keeps for X11 (localectl set-x11-keymap), for when there
// is no X display to ask, as on a Wayland desktop without XWayland or on the console.
#include "platform/inject/KeyboardLayout.h"

#include <QDBusConnection>

#include <optional>
#include <string>

namespace padwright {

// X11Layout, X11Variant, X11Model and X11Options from localed on `systemBus`; nullopt with
// `error` set when localed does not answer or names no layout.
std::optional<XkbNames> ReadLocaledLayout(const QDBusConnection& systemBus, std::string& error);

} // namespace padwright
