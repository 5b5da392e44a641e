#include "engine/RestingReader.h"

#include "engine/Catalogue.h"

#include <algorithm>

namespace padwright {

namespace {

// How many runs in a row the reader could have slept after before it does. Input that comes
// every one to two intervals (a pad reporting at 100-200 Hz) leaves no two such runs in a row,
// so it is read at the pace polling would read it. Input that comes just after each sleep
// begins costs a wake-up more than polling would, twice as many such runs are asked for each
// time that happens; a sleep as long as they took asks for two again.
constexpr int LeastRestfulRuns = 2;
constexpr int MostRestfulRuns = 64;

// Whether a mapping held engaged sends more without new input. A control without a function,
// and a key, button, hat direction, app command or power action held without repeat, has sent
// at the press all it sends until it is let go, which is input again.
bool SendsWhileHeld(const TControlMapping& m, const TJoystick& controller) {
    switch (m.Kind) {
    case fkKey:
        return m.AutoRepeat || controller.RepeatKeys;
    case fkAppCommand:
    case fkPower:
        return m.AutoRepeat != 0;
    case fkMouse:
        return m.AutoRepeat || m.Code == mfMoveXNeg || m.Code == mfMoveXPos ||
               m.Code == mfMoveYNeg || m.Code == mfMoveYPos;
    default:
        return false;
    }
}

} // namespace

void RestingReader::Resume() {
    LeaveSleep();
    on_ = true;
    restfulRuns_ = 0;
    clock_.StartTimers();
    timing_ = true;
}

void RestingReader::Pause() {
    LeaveSleep();
    on_ = false;
    clock_.StopTimers();
    timing_ = false;
}

void RestingReader::Run() {
    CancelDeferredRun();
    hasRun_ = true;
    lastRun_ = clock_.Now();
    // Input that came since the run before keeps the pace: a pad that keeps reporting (stick
    // jitter inside the dead zone) is read as often as polling reads it, never more often.
    const bool mayRest =
        on_ && SleepAtRest && AcquiredDescriptors(descriptors_) && !clock_.Pending(descriptors_);
    const auto sent = engine_.OutputCount();
    engine_.CollectData();
    if (asleep_)
        return;
    const bool restful = mayRest && on_ && engine_.OutputCount() == sent && !KeepsPace() &&
                         AcquiredDescriptors(descriptors_) && !descriptors_.empty();
    restfulRuns_ = restful ? restfulRuns_ + 1 : 0;
    if (restfulRuns_ >= restfulNeeded_ && clock_.Watch(descriptors_)) {
        // Every evaluated mapping has just been stepped: none is repeating, and one held down
        // without repeat never reads its countdown, so nothing is lost while auto-repeat stops.
        clock_.StopTimers();
        timing_ = false;
        watching_ = true;
        asleep_ = true;
        return;
    }
    // After a wake the notifiers go and the timers start only now, so that neither delays the
    // outputs of the run that answered the input; the interval counts from that run.
    StopWatching();
    if (on_ && !timing_) {
        clock_.StartTimers();
        timing_ = true;
    }
}

bool RestingReader::Wake() {
    // Also true when woken before and the run that answers is still to come.
    if (!on_ || !(asleep_ || (watching_ && !timing_)))
        return false;
    asleep_ = false;
    const auto since = clock_.Now() - lastRun_;
    const auto interval = clock_.Interval();
    if (since >= restfulNeeded_ * interval)
        restfulNeeded_ = LeastRestfulRuns;
    if (!hasRun_ || since >= interval)
        return true;
    restfulNeeded_ = std::min(2 * restfulNeeded_, MostRestfulRuns);
    // The descriptors stay readable until the run reads them: stop watching them meanwhile.
    StopWatching();
    deferred_ = true;
    clock_.RunAfter(interval - since);
    return false;
}

bool RestingReader::AcquiredDescriptors(std::vector<int>& out) const {
    out.clear();
    for (const TJoystick& c : lists_.ActiveJoysticks) {
        if (!c.Acquired)
            continue;
        // A device that cannot signal would never wake the sleep: it keeps the pace.
        if (c.Notification < 0)
            return false;
        out.push_back(c.Notification);
    }
    return true;
}

bool RestingReader::KeepsPace() const {
    for (TJoystick& c : lists_.ActiveJoysticks) {
        if (!c.Acquired || c.Engaged.none())
            continue;
        const TProfile* profile = lists_.ProfileOf(c);
        if (profile == nullptr)
            continue;
        for (std::size_t slot = 0; slot < c.Engaged.size(); ++slot)
            if (c.Engaged.test(slot) && SendsWhileHeld(profile->Mappings[slot], c))
                return true;
    }
    return false;
}

void RestingReader::LeaveSleep() {
    asleep_ = false;
    StopWatching();
    CancelDeferredRun();
}

void RestingReader::StopWatching() {
    if (!watching_)
        return;
    watching_ = false;
    clock_.Unwatch();
}

void RestingReader::CancelDeferredRun() {
    if (!deferred_)
        return;
    deferred_ = false;
    clock_.CancelRun();
}

} // namespace padwright
