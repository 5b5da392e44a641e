#include "platform/session/win/WinSession.h"

// After the seam: the Windows headers define its constant names as macros of the same values.
#include <windows.h>

namespace padwright {

bool WinSession::EnableShutdownPrivilege() {
    ::HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool done =
        LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // AdjustTokenPrivileges succeeds without assigning a privilege the token does not hold.
    done = done && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return done;
}

bool WinSession::ExitWindowsEx(std::uint32_t flags, std::uint32_t reason) {
    return ::ExitWindowsEx(flags, reason) != FALSE;
}

} // namespace padwright
