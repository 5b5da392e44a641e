#pragma once
// A level signal that a reader can sleep on with the platform's own wait: set from Raise until
// Lower. The in-memory devices signal pending input with it as a kernel event node does.
#include "platform/dinput/WaitHandle.h"

#include <utility>

namespace padwright {

class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    // Only changes reach the system: on Windows each is a round trip to the kernel (or to
    // Wine's server), and devices lower their signal on every empty read.
    void Raise() {
        if (!raised_)
            Set(raised_ = true);
    }
    // True when it was raised.
    bool Lower() {
        if (!raised_)
            return false;
        Set(raised_ = false);
        return true;
    }
    // What to wait on (see WaitHandle); NoWaitHandle when the system gave no signal.
    WaitHandle Handle() const { return handle_; }

private:
    void Set(bool raised);

    WaitHandle handle_ = NoWaitHandle;
    bool raised_ = false;
};

// Whether a wait on `handle` would end now, without consuming the signal of a level handle.
bool IsSignalled(WaitHandle handle);

// Another handle on what `handle` signals (a descriptor's duplicate, a duplicated Windows
// handle), open until this object goes, whatever becomes of the original: a watch must never be
// on a closed, or reused, number. NoWaitHandle when the system gave none.
class WaitHandleCopy {
public:
    explicit WaitHandleCopy(WaitHandle handle);
    ~WaitHandleCopy();
    WaitHandleCopy(WaitHandleCopy&& other) noexcept
        : handle_(std::exchange(other.handle_, NoWaitHandle)) {}
    WaitHandleCopy& operator=(WaitHandleCopy&&) = delete;
    WaitHandle Get() const { return handle_; }

private:
    WaitHandle handle_;
};

} // namespace padwright
