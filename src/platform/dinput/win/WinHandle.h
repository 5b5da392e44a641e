#pragma once
// Windows event handles in and out of a WaitHandle.
#include "platform/dinput/WaitHandle.h"

#include <windows.h>

namespace padwright {

inline WaitHandle ToWaitHandle(::HANDLE handle) {
    return handle == nullptr ? NoWaitHandle : static_cast<WaitHandle>(HandleToLong(handle));
}

inline ::HANDLE FromWaitHandle(WaitHandle handle) {
    return handle == NoWaitHandle ? nullptr : LongToHandle(handle);
}

} // namespace padwright
