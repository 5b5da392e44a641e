#pragma once
// The reading switch and the pace of the data-collection cycle. While reading is on, the cycle
// runs every TimeInterval as long as input keeps coming or an engaged control has more to send
// (a repetition, a pointer move). After a run that sent nothing, read no input that came since
// the run before, and in which every engaged control has sent all it sends until new input, it
// sleeps on the acquired controllers' event descriptors until one of them has input (or
// reports hang-up or an error). That input runs the cycle at once, or, when the run before was
// less than an interval ago, an interval after that run: woken runs never come faster than
// polling's. Sleeping is not pausing: On() stays true throughout.
#include "engine/Engine.h"

#include <chrono>
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
    // Whether one of `descriptors` is readable or reports hang-up or an error right now.
    virtual bool Pending(const std::vector<int>& descriptors) = 0;
    // A steady clock, and the data-collection timer's interval.
    virtual std::chrono::microseconds Now() = 0;
    virtual std::chrono::microseconds Interval() = 0;
    // One run of the cycle after `delay` (rounded up to the timer's resolution), through the
    // data-collection timer's handler; CancelRun takes it back.
    virtual void RunAfter(std::chrono::microseconds delay) = 0;
    virtual void CancelRun() = 0;
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
    // and starts the timers. False when there is nothing to do, or when the run was put off
    // until an interval after the run before (the clock's RunAfter runs it).
    bool Wake();

private:
    // The acquired controllers' descriptors; false when one of them cannot signal.
    bool AcquiredDescriptors(std::vector<int>& out) const;
    // Whether an engaged control has more to send without new input.
    bool KeepsPace() const;
    void LeaveSleep();
    void StopWatching();
    void CancelDeferredRun();

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
    // Woken within an interval of the last run: that run's RunAfter is still to come.
    bool deferred_ = false;
    bool hasRun_ = false;
    // Runs in a row after which the reader could have slept, and how many it takes to sleep.
    int restfulRuns_ = 0;
    int restfulNeeded_ = 2;
    std::chrono::microseconds lastRun_{0};
    // Reused from run to run: the cycle's common path allocates nothing.
    std::vector<int> descriptors_;
};

} // namespace padwright
