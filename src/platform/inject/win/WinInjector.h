#pragma once
// Injection through the Windows calls themselves. keybd_event and mouse_event go to the
// input stream as they are; MapVirtualKeyA answers from the active keyboard layout; an
// application command is a WM_APPCOMMAND to the program's own window, whose default handling
// hands it to the shell, which carries it out.
#include "platform/inject/Injector.h"

#include <cstdint>

namespace padwright {

class WinInjector final : public IInputInjector {
public:
    // `window`: the HWND that application commands go to; 0 drops them until SetWindow.
    explicit WinInjector(std::uintptr_t window = 0) : window_(window) {}
    void SetWindow(std::uintptr_t window) { window_ = window; }

    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override;
    void SendAppCommand(std::uint32_t lParam) override;

private:
    std::uintptr_t window_;
};

} // namespace padwright
