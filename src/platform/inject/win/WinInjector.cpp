#include "platform/inject/win/WinInjector.h"

// After the seam: the Windows headers define its constant names as macros of the same values.
#include <windows.h>

namespace padwright {

namespace {

// What the key of `vk` types alone on the active layout, as a code point: the system's own
// MAPVK_VK_TO_CHAR gives letters in upper case and other characters in the ANSI code page.
std::uint32_t TypedCharacter(std::uint32_t vk) {
    const HKL layout = GetKeyboardLayout(0);
    const UINT scan = ::MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout);
    const BYTE nothingHeld[256] = {};
    wchar_t typed[4] = {};
    // Flag 4: the layout's dead-key state stays as it is.
    const int n = ToUnicodeEx(vk, scan, nothingHeld, typed, 4, 4, layout);
    if (n == 2 && IS_HIGH_SURROGATE(typed[0]) && IS_LOW_SURROGATE(typed[1]))
        return 0x10000 + ((static_cast<std::uint32_t>(typed[0]) - 0xD800) << 10) +
               (static_cast<std::uint32_t>(typed[1]) - 0xDC00);
    return n == 1 || n == -1 ? typed[0] : 0; // -1: a dead key, which types its accent
}

} // namespace

std::uint32_t WinInjector::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    if (mapType == MAPVK_VK_TO_CHAR)
        return TypedCharacter(code);
    return ::MapVirtualKeyA(code, mapType);
}

void WinInjector::keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                              std::uintptr_t extraInfo) {
    ::keybd_event(vk, scan, flags, extraInfo);
}

void WinInjector::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                              std::int32_t data, std::uintptr_t extraInfo) {
    ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), static_cast<DWORD>(data),
                  extraInfo);
}

// Posted, not sent: the cycle must not wait for the window, which may be the caller itself.
void WinInjector::SendAppCommand(std::uint32_t lParam) {
    if (window_ == 0)
        return;
    const HWND window = reinterpret_cast<HWND>(window_);
    ::SendNotifyMessageA(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                         static_cast<LPARAM>(lParam));
}

} // namespace padwright
