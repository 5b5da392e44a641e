#include "platform/dinput/WakeSignal.h"
#include "platform/dinput/win/WinHandle.h"

namespace padwright {

// Manual reset, so that the event stays set while input is pending, as a readable descriptor
// stays readable.
WakeSignal::WakeSignal() : handle_(ToWaitHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr))) {}

WakeSignal::~WakeSignal() {
    if (handle_ != NoWaitHandle)
        CloseHandle(FromWaitHandle(handle_));
}

void WakeSignal::Set(bool raised) {
    if (handle_ != NoWaitHandle)
        raised ? SetEvent(FromWaitHandle(handle_)) : ResetEvent(FromWaitHandle(handle_));
}

bool IsSignalled(WaitHandle handle) {
    return WaitForSingleObject(FromWaitHandle(handle), 0) == WAIT_OBJECT_0;
}

namespace {

::HANDLE Duplicate(::HANDLE handle) {
    ::HANDLE copy = nullptr;
    const ::HANDLE process = GetCurrentProcess();
    if (!DuplicateHandle(process, handle, process, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

} // namespace

WaitHandleCopy::WaitHandleCopy(WaitHandle handle)
    : handle_(ToWaitHandle(Duplicate(FromWaitHandle(handle)))) {}

WaitHandleCopy::~WaitHandleCopy() {
    if (handle_ != NoWaitHandle)
        CloseHandle(FromWaitHandle(handle_));
}

} // namespace padwright
