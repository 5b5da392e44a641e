#pragma once
// The reading switch and the pace of the data-collection cycle. While reading is on, the cycle
// runs every TimeInterval as long as a control with a function is engaged; after a run that
// sent nothing and found none engaged it sleeps on the acquired controllers' event descriptors
// until one of them has input (or reports hang-up or an error), and that input runs the cycle
// at once. Sleeping is not pausing: On() stays true throughout.
#include "engine/Engine.h"

#include <vector>

namespace padwright {

// The timers and the waiting, which the window provides with Qt and tests simulate.
class IReaderClock {
public:
    virtual ~IReaderClock() = default;
    // Auto-repeat, then data collection, both counting from now.
    virtual void StartTimers() = 0;
    // Data collection, then auto-repeat.
    virtual void StopTimers() = 0;
    // Wait until one of `descriptors` is readable or reports hang-up or an error, then Wake.
    // False when not every one can be watched; nothing is watched then.
    virtual bool Watch(const std::vector<int>& descriptors) = 0;
    virtual void Unwatch() = 0;
};

class RestingReader {
public:
    RestingReader(TLists& lists, Engine& engine, IReaderClock& clock)
        : lists_(lists), engine_(engine), clock_(clock) {}

    // False keeps the cycle on its timer at rest as well (for comparison).
    bool SleepAtRest = true;

    bool On() const { return on_; }
    bool Asleep() const { return asleep_; }

    void Resume();
    void Pause();
    // One run of the data-collection cycle, then the decision whether to sleep.
    void Run();
    // An event on a watched descriptor, or a change made while asleep: leaves the sleep. True
    // when the caller is to run the cycle now; that run stops the waiting on the descriptors
    // and starts the timers.
    bool Wake();

private:
    // The descriptors to sleep on after a run, or none when the cycle has to keep its pace.
    bool RestDescriptors(std::vector<int>& out) const;
    void LeaveSleep();
    void StopWatching();

    TLists& lists_;
    Engine& engine_;
    IReaderClock& clock_;
    bool on_ = false;
    bool asleep_ = false;
    // Still waiting on descriptors: from falling asleep until the run after waking.
    bool watching_ = false;
    // The timers run: from Resume until the reader falls asleep, and again from the run after
    // waking.
    bool timing_ = false;
};

} // namespace padwright
