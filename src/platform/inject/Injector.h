#pragma once
// Input injection with the Windows calls' shape: MapVirtualKeyA, keybd_event, mouse_event, and
// application commands. Implementations: uinput, XTest, and a recorder for tests and tools.
#include <cstdint>

namespace padwright {

constexpr std::uint32_t MAPVK_VK_TO_VSC = 0;
constexpr std::uint32_t MAPVK_VSC_TO_VK = 1;
constexpr std::uint32_t MAPVK_VK_TO_CHAR = 2;
constexpr std::uint32_t KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr std::uint32_t KEYEVENTF_KEYUP = 0x0002;

constexpr std::uint32_t MOUSEEVENTF_MOVE = 0x0001;
constexpr std::uint32_t MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr std::uint32_t MOUSEEVENTF_LEFTUP = 0x0004;
constexpr std::uint32_t MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr std::uint32_t MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr std::uint32_t MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr std::uint32_t MOUSEEVENTF_MIDDLEUP = 0x0040;
constexpr std::uint32_t MOUSEEVENTF_XDOWN = 0x0080;
constexpr std::uint32_t MOUSEEVENTF_XUP = 0x0100;
constexpr std::uint32_t MOUSEEVENTF_WHEEL = 0x0800;

constexpr std::uint32_t WM_APPCOMMAND = 0x0319;

class IInputInjector {
public:
    virtual ~IInputInjector() = default;
    // Mode 0 (MAPVK_VK_TO_VSC): the set-1 scan code of a virtual key, 0 when it has none.
    // Mode 1 (MAPVK_VSC_TO_VK): the virtual key whose key event presses the key of that scan
    // code now, 0 for none. Mode 2 (MAPVK_VK_TO_CHAR): the character (a Unicode code point) the
    // key of the virtual key types without modifiers on the active layout, 0 for none. Both
    // follow the layout the key events follow; implementations without a layout answer 0.
    virtual std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) = 0;
    virtual void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                             std::uintptr_t extraInfo) = 0;
    virtual void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                             std::int32_t data, std::uintptr_t extraInfo) = 0;
    // WM_APPCOMMAND delivered to the program's own main window; lParam carries the command
    // number in its high word.
    virtual void SendAppCommand(std::uint32_t lParam) = 0;
};

} // namespace padwright
