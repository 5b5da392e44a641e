#pragma once
// The event loop the program runs in, as the core sees it: timers and waits on descriptors. The
// core runs on the loop's one thread and never blocks; the front-end owns the loop (Qt's on
// Linux, a message loop on Windows) and hands it in. Tests drive a manual one.
#include <functional>
#include <memory>

namespace padwright {

class ITimer {
public:
    virtual ~ITimer() = default;
    // (Re)starts counting the interval from now.
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
};

// Watching lasts as long as this object; destroying it from inside its own callback is allowed.
class IDescriptorWatch {
public:
    virtual ~IDescriptorWatch() = default;
};

enum class TimerMode {
    Coarse,     // repeating; may fire a little late to share a wake-up with others
    Precise,    // repeating, to the millisecond
    SingleShot, // once per Start
    PreciseSingleShot,
};

class IEventLoop {
public:
    virtual ~IEventLoop() = default;
    // A stopped timer that runs `fire` as `mode` says.
    virtual std::unique_ptr<ITimer> CreateTimer(int milliseconds, TimerMode mode,
                                                std::function<void()> fire) = 0;
    // Runs `ready` while `descriptor` is readable or reports hang-up or an error. The caller
    // keeps the descriptor open for as long as the watch lives.
    virtual std::unique_ptr<IDescriptorWatch> Watch(int descriptor,
                                                    std::function<void()> ready) = 0;
};

} // namespace padwright
