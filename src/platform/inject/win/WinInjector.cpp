#include "platform/inject/win/WinInjector.h"

// After the seam: the Windows headers define its constant names as macros of the same values.
#include <windows.h>

namespace padwright {

std::uint32_t WinInjector::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
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
