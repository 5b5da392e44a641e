#pragma once
// Which physical key each virtual key of an injector goes to, under the desktop's layout
// (KeyboardLayout.h). Both injectors use it, so they press the same key for the same call.
#include "platform/inject/KeyboardLayout.h"

#include <array>
#include <cstdint>
#include <memory>

namespace padwright {

class KeyPlacement {
public:
    // nullptr: the US layout.
    explicit KeyPlacement(std::unique_ptr<ILayoutSource> layout = nullptr);

    // The Linux key code a key event of `vk` goes to, 0 when it has none. A key that is down
    // stays on the key it went down on, whatever the layout did since, so it is let go there.
    std::uint16_t KeyFor(std::uint8_t vk, bool down);
    // MapVirtualKeyA mode 0: the scan code of the key the virtual key would press now.
    std::uint32_t ScanCode(std::uint32_t vk);
    // MapVirtualKeyA mode 1: the virtual key that would press the key of `scanCode` now; a
    // letter or symbol the layout places there wins over the key's US name. 0 for none.
    std::uint32_t VirtualKeyAt(std::uint32_t scanCode);
    // MapVirtualKeyA mode 2: what the key `vk` would press types without modifiers.
    char32_t TypedBy(std::uint32_t vk);
    // The three modes of MapVirtualKeyA, as the injectors answer them.
    std::uint32_t MapVirtualKey(std::uint32_t code, std::uint32_t mapType);

private:
    std::uint16_t CodeNow(std::uint32_t vk);

    std::unique_ptr<ILayoutSource> layout_;
    std::array<std::uint16_t, 256> heldOn_{};
};

// The desktop's layout: the X server's when the display answers, else the one systemd-localed
// names, else US. `displayName` nullptr means $DISPLAY.
std::unique_ptr<ILayoutSource> OpenDesktopLayout(const char* displayName);

} // namespace padwright
