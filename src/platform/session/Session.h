#pragma once
// Ending the session: log-off, shut-down, reboot and power-off, with ExitWindowsEx's shape.
#include <cstdint>

namespace padwright {

constexpr std::uint32_t EWX_LOGOFF = 0;
constexpr std::uint32_t EWX_SHUTDOWN = 1;
constexpr std::uint32_t EWX_REBOOT = 2;
constexpr std::uint32_t EWX_FORCE = 4;
constexpr std::uint32_t EWX_POWEROFF = 8;

class ISessionControl {
public:
    virtual ~ISessionControl() = default;
    // Enabling the shut-down privilege in the process's own token, where the platform has one.
    // Returns false when a step failed; ExitWindowsEx is called all the same.
    virtual bool EnableShutdownPrivilege() = 0;
    // The result is not looked at by the caller.
    virtual bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) = 0;
};

} // namespace padwright
