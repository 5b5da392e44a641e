#pragma once
#include "platform/session/Session.h"

#include <functional>
#include <vector>

namespace padwright {

// Records ExitWindowsEx calls instead of ending anything.
class RecordingSession : public ISessionControl {
public:
    struct Call {
        std::uint32_t flags;
        std::uint32_t reason;
    };
    bool EnableShutdownPrivilege() override {
        ++privilegeRequests;
        return true;
    }
    bool ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) override {
        calls.push_back({flags, reason});
        if (onCall)
            onCall(calls.back());
        return true;
    }
    std::vector<Call> calls;
    int privilegeRequests = 0;
    std::function<void(const Call&)> onCall;
};

} // namespace padwright
