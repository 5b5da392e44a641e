#pragma once
// Keeps the exact sequence of injection calls, for tests and for padwright-replay.
#include "platform/inject/Injector.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace padwright {

struct InjectedCall {
    enum Type { Key, Mouse, AppCommand } type;
    std::uint8_t vk = 0;
    std::uint8_t scan = 0;
    std::uint32_t flags = 0;
    std::int32_t dx = 0, dy = 0, data = 0;
    std::uint32_t lParam = 0;
    bool operator==(const InjectedCall&) const = default;
};

// The replay tool's line for a call, e.g. "keybd_event vk=0x41 scan=0x1e flags=0".
std::string FormatInjectedCall(const InjectedCall& call);

// Makes the same call again on another injector.
void SendInjectedCall(const InjectedCall& call, IInputInjector& to);

class RecordingInjector : public IInputInjector {
public:
    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override;
    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override;
    void SendAppCommand(std::uint32_t lParam) override;

    std::vector<InjectedCall> calls;
    // Called after each call is recorded (the replay tool prints from here).
    std::function<void(const InjectedCall&)> onCall;

private:
    void Record(const InjectedCall& call);
};

} // namespace padwright
