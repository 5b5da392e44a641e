#pragma once
// A level signal that a reader can sleep on with the platform's own wait: set from Raise until
// Lower. The in-memory devices signal pending input with it as a kernel event node does.
#include "platform/dinput/WaitHandle.h"

namespace padwright {

class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void Raise();
    // True when it was raised.
    bool Lower();
    // What to wait on (see WaitHandle); NoWaitHandle when the system gave no signal.
    WaitHandle Handle() const { return handle_; }

private:
    WaitHandle handle_ = NoWaitHandle;
};

// Whether a wait on `handle` would end now, without consuming the signal of a level handle.
bool IsSignalled(WaitHandle handle);

} // namespace padwright
