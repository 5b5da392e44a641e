#pragma once
// Injection through the X server's XTEST extension, for when /dev/uinput is out of reach.
// Under a Wayland session this reaches only the programs that run on XWayland.
#include "platform/inject/Injector.h"
#include "platform/inject/KeyTables.h"
#include "platform/inject/MouseEvents.h"

#include <bitset>
#include <memory>
#include <string>

struct _XDisplay;

namespace padwright {

class XTestInjector : public IInputInjector {
public:
    // Connects to `displayName` (nullptr: $DISPLAY); nullptr with `error` set when there is no
    // display or it lacks XTEST.
    static std::unique_ptr<XTestInjector> Open(const char* displayName, std::string& error);
    // Lets go of every key and button still held, then closes the connection.
    ~XTestInjector() override;
    XTestInjector(const XTestInjector&) = delete;
    XTestInjector& operator=(const XTestInjector&) = delete;

    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override;
    void SendAppCommand(std::uint32_t lParam) override;

    // The server keycode a target is sent with, 0 when the server has none.
    unsigned KeycodeOf(const KeyTarget& target) const;

private:
    explicit XTestInjector(_XDisplay* display);
    void Key(unsigned keycode, bool down);
    void Button(unsigned button, bool down);

    _XDisplay* display_;
    int minKeycode_ = 8, maxKeycode_ = 255;
    std::bitset<256> heldKeys_;
    std::bitset<10> heldButtons_;
    WheelNotches wheel_;
};

// X's button numbers of the mouse buttons: 1 left, 2 middle, 3 right, 8 back, 9 forward.
unsigned XButtonNumber(MouseButton button);

} // namespace padwright
