#include "platform/instance/win/NamedMutexLock.h"

#include <windows.h>

namespace padwright {

// CreateMutexA with no security attributes, owned from creation. A mutex of that name that
// exists, or that this user may not open (an instance started with other rights), is another
// instance's.
IInstanceLock::Outcome NamedMutexLock::TryLock() {
    Release();
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, name_.c_str());
    const DWORD error = GetLastError();
    if (mutex == nullptr && error == ERROR_ACCESS_DENIED)
        return HeldElsewhere;
    if (mutex == nullptr) {
        error_ = "Padwright cannot create its single-instance mutex \"" + name_ + "\" (error " +
                 std::to_string(error) + ").";
        return Failed;
    }
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return HeldElsewhere;
    }
    mutex_ = mutex;
    return Acquired;
}

void NamedMutexLock::Release() {
    if (mutex_ == nullptr)
        return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
    mutex_ = nullptr;
}

} // namespace padwright
