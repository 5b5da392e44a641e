#include "platform/inject/XTestInjector.h"

#include "platform/inject/XDisplayName.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace padwright {

namespace {
// Xorg, XWayland and Xvfb all number their keys as the kernel does, plus 8.
constexpr unsigned EvdevKeycodeOffset = 8;
constexpr unsigned WheelAwayButton = 4;
constexpr unsigned WheelTowardButton = 5;
} // namespace

unsigned XButtonNumber(MouseButton button) {
    constexpr unsigned numbers[MouseButtonCount] = {1, 3, 2, 8, 9};
    return numbers[static_cast<int>(button)];
}

std::unique_ptr<XTestInjector> XTestInjector::Open(const char* displayName, std::string& error,
                                                   std::unique_ptr<ILayoutSource> layout) {
    Display* display = XOpenDisplay(displayName);
    if (!display) {
        error = CannotOpenDisplayText(displayName);
        return nullptr;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        error = std::string("X display ") + DisplayString(display) + " has no XTEST extension";
        XCloseDisplay(display);
        return nullptr;
    }
    if (!layout)
        layout = OpenDesktopLayout(DisplayString(display));
    return std::unique_ptr<XTestInjector>(new XTestInjector(display, std::move(layout)));
}

XTestInjector::XTestInjector(_XDisplay* display, std::unique_ptr<ILayoutSource> layout)
    : display_(display), keys_(std::move(layout)) {
    XDisplayKeycodes(display_, &minKeycode_, &maxKeycode_);
}

XTestInjector::~XTestInjector() {
    for (unsigned code = 0; code < heldKeys_.size(); ++code)
        if (heldKeys_.test(code))
            XTestFakeKeyEvent(display_, code, False, CurrentTime);
    for (unsigned button = 0; button < heldButtons_.size(); ++button)
        if (heldButtons_.test(button))
            XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
    XCloseDisplay(display_);
}

unsigned XTestInjector::KeycodeOf(std::uint16_t linuxCode) const {
    // The same physical key as uinput would press, so both injectors agree on every layout.
    const unsigned code = linuxCode + EvdevKeycodeOffset;
    if (linuxCode == 0 || code < static_cast<unsigned>(minKeycode_) ||
        code > static_cast<unsigned>(maxKeycode_))
        return 0;
    return code;
}

void XTestInjector::Key(unsigned keycode, bool down) {
    XTestFakeKeyEvent(display_, keycode, down ? True : False, CurrentTime);
    heldKeys_.set(keycode, down);
}

void XTestInjector::Button(unsigned button, bool down) {
    if (down && heldButtons_.test(button))
        return; // a mouse button cannot go down twice
    XTestFakeButtonEvent(display_, button, down ? True : False, CurrentTime);
    heldButtons_.set(button, down);
}

std::uint32_t XTestInjector::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    return keys_.MapVirtualKey(code, mapType);
}

void XTestInjector::keybd_event(std::uint8_t vk, std::uint8_t, std::uint32_t flags,
                                std::uintptr_t) {
    const bool down = !(flags & KEYEVENTF_KEYUP);
    if (const auto button = VirtualKeyMouseButton(vk)) {
        Button(XButtonNumber(*button), down);
    } else if (const unsigned keycode = KeycodeOf(keys_.KeyFor(vk, down))) {
        Key(keycode, down);
    } else {
        return;
    }
    XFlush(display_);
}

void XTestInjector::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                std::int32_t data, std::uintptr_t) {
    const MouseEventParts parts = DecodeMouseEvent(flags, dx, dy, data);
    if (parts.dx != 0 || parts.dy != 0)
        XTestFakeRelativeMotionEvent(display_, parts.dx, parts.dy, CurrentTime);
    for (int i = 0; i < parts.buttonCount; ++i)
        Button(XButtonNumber(parts.buttons[i].button), parts.buttons[i].down);
    // X has no fine wheel: each whole notch is one click of button 4 (away) or 5 (toward).
    std::int32_t notches = parts.wheel != 0 ? wheel_.Add(parts.wheel) : 0;
    for (; notches != 0; notches += notches > 0 ? -1 : 1) {
        const unsigned button = notches > 0 ? WheelAwayButton : WheelTowardButton;
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
    }
    XFlush(display_);
}

void XTestInjector::SendAppCommand(std::uint32_t lParam) {
    const unsigned keycode = KeycodeOf(AppCommandTarget(AppCommandOfLParam(lParam)).linuxCode);
    if (keycode == 0)
        return;
    XTestFakeKeyEvent(display_, keycode, True, CurrentTime);
    XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
    heldKeys_.reset(keycode);
    XFlush(display_);
}

} // namespace padwright
