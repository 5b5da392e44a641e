#pragma once
// Ending the session through ExitWindowsEx, after enabling SE_SHUTDOWN_NAME in the process's
// token as Windows requires for shutting down, rebooting and powering off.
#include "platform/session/Session.h"

namespace padwright {

class WinSession final : public ISessionControl {
public:
    bool EnableShutdownPrivilege() override;
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override;
};

} // namespace padwright
