#pragma once
// Which virtual key of the catalogue a key pressed in a window is, for the editor's key capture.
#include <cstdint>

class QKeyEvent;

namespace padwright {

class IInputInjector;

// The virtual key, 0 when the catalogue has none for it. Keys with a function of their own
// (navigation, function, keypad, media, modifiers) go by the toolkit's name for them; typing
// keys by their position through the injector's layout (MapVirtualKeyA mode 1), so the key that
// types "ö" on a German layout is VK_OEM_1 as the injector would press it; without a position
// (or an injector that knows none), letters and digits by what they type.
std::uint32_t CapturedVirtualKey(const QKeyEvent& key, IInputInjector* injector);

} // namespace padwright
