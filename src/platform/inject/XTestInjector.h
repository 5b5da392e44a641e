#pragma once
// Injection through the X server's XTEST extension, for when /dev/uinput is out of reach.
// Under a Wayland session this reaches only the programs that run on XWayland.
#include "platform/inject/Injector.h"
#include "platform/inject/KeyPlacement.h"
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
    // display or it lacks XTEST. Keys follow the display's own layout unless `layout` is given.
    static std::unique_ptr<XTestInjector> Open(const char* displayName, std::string& error,
                                               std::unique_ptr<ILayoutSource> layout = nullptr);
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

    // The server keycode of a Linux key code, 0 when the server has none.
    unsigned KeycodeOf(std::uint16_t linuxCode) const;

private:
    XTestInjector(_XDisplay* display, std::unique_ptr<ILayoutSource> layout);
    void Key(unsigned keycode, bool down);
    void Button(unsigned button, bool down);

    _XDisplay* display_;
    KeyPlacement keys_;
    int minKeycode_ = 8, maxKeycode_ = 255;
    std::bitset<256> heldKeys_;
    std::bitset<10> heldButtons_;
    WheelNotches wheel_;
};

// X's button numbers of the mouse buttons: 1 left, 2 middle, 3 right, 8 back, 9 forward.
unsigned XButtonNumber(MouseButton button);

} // namespace padwright
