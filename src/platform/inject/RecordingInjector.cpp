#include "platform/inject/RecordingInjector.h"

#include "platform/inject/ScanCodes.h"

#include <cstdio>

namespace padwright {

std::string FormatInjectedCall(const InjectedCall& c) {
    char line[128];
    switch (c.type) {
    case InjectedCall::Key:
        std::snprintf(line, sizeof line, "keybd_event vk=0x%02x scan=0x%02x flags=%u", c.vk, c.scan,
                      c.flags);
        break;
    case InjectedCall::Mouse:
        std::snprintf(line, sizeof line, "mouse_event flags=0x%04x dx=%d dy=%d data=%d", c.flags,
                      c.dx, c.dy, c.data);
        break;
    case InjectedCall::AppCommand:
        std::snprintf(line, sizeof line, "WM_APPCOMMAND lparam=0x%08x", c.lParam);
        break;
    }
    return line;
}

void SendInjectedCall(const InjectedCall& c, IInputInjector& to) {
    switch (c.type) {
    case InjectedCall::Key:
        to.keybd_event(c.vk, c.scan, c.flags, 0);
        break;
    case InjectedCall::Mouse:
        to.mouse_event(c.flags, c.dx, c.dy, c.data, 0);
        break;
    case InjectedCall::AppCommand:
        to.SendAppCommand(c.lParam);
        break;
    }
}

std::uint32_t RecordingInjector::MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) {
    return mapType == MAPVK_VK_TO_VSC ? VirtualKeyToScanCode(code) : 0;
}

void RecordingInjector::keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                                    std::uintptr_t) {
    InjectedCall c{InjectedCall::Key};
    c.vk = vk;
    c.scan = scan;
    c.flags = flags;
    Record(c);
}

void RecordingInjector::mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy,
                                    std::int32_t data, std::uintptr_t) {
    InjectedCall c{InjectedCall::Mouse};
    c.flags = flags;
    c.dx = dx;
    c.dy = dy;
    c.data = data;
    Record(c);
}

void RecordingInjector::SendAppCommand(std::uint32_t lParam) {
    InjectedCall c{InjectedCall::AppCommand};
    c.lParam = lParam;
    Record(c);
}

void RecordingInjector::Record(const InjectedCall& call) {
    calls.push_back(call);
    if (onCall)
        onCall(call);
}

} // namespace padwright
