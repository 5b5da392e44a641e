#pragma once
// Where each Windows virtual key and application command lands on Linux: the kernel key code of
// its US-layout position (X servers number the same keys 8 higher). Letters and four OEM keys may
// move with the desktop's layout (KeyPlacement.h). Mouse-button virtual keys press mouse buttons.
#include <cstdint>
#include <optional>
#include <span>

namespace padwright {

enum class MouseButton : std::uint8_t { Left, Right, Middle, Side, Extra };
constexpr int MouseButtonCount = 5;

struct KeyTarget {
    std::uint16_t linuxCode = 0; // KEY_* from linux/input-event-codes.h, 0 = no key
};

struct VirtualKeyRow {
    std::uint8_t vk;
    KeyTarget target;
};

struct AppCommandRow {
    std::uint16_t command; // APPCOMMAND_* number
    KeyTarget target;
};

// Every keyboard row of the virtual-key catalogue that Linux has a key for.
std::span<const VirtualKeyRow> VirtualKeyTable();
// The application commands that Linux has a key for.
std::span<const AppCommandRow> AppCommandTable();

// The target of a virtual key; linuxCode 0 when it has none or is a mouse button.
KeyTarget VirtualKeyTarget(std::uint32_t vk);
// VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2.
std::optional<MouseButton> VirtualKeyMouseButton(std::uint32_t vk);
// The command number in the high word of a WM_APPCOMMAND lParam, without the device bits.
std::uint16_t AppCommandOfLParam(std::uint32_t lParam);
KeyTarget AppCommandTarget(std::uint16_t command);

} // namespace padwright
