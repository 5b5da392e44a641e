#include "engine/RestingReader.h"

namespace padwright {

namespace {

// Whether an engaged control gives a function anything to do. A control without one is not
// evaluated in substance, so it does not keep the cycle awake: a worn stick resting past the
// threshold reads engaged in one direction for as long as it rests.
bool ActsOnEngaged(const TJoystick& controller, const TProfile& profile) {
    if (controller.Engaged.none())
        return false;
    for (std::size_t slot = 0; slot < controller.Engaged.size(); ++slot) {
        if (!controller.Engaged.test(slot))
            continue;
        switch (profile.Mappings[slot].Kind) {
        case fkKey:
        case fkAppCommand:
        case fkMouse:
        case fkPower:
            return true;
        default:
            break;
        }
    }
    return false;
}

} // namespace

void RestingReader::Resume() {
    LeaveSleep();
    on_ = true;
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
    const auto sent = engine_.OutputCount();
    engine_.CollectData();
    if (asleep_)
        return;
    std::vector<int> descriptors;
    if (on_ && SleepAtRest && engine_.OutputCount() == sent && RestDescriptors(descriptors) &&
        clock_.Watch(descriptors)) {
        // Every evaluated mapping has just been stepped with nothing engaged, so none is pressed
        // or repeating: the auto-repeat timer would count nothing down while it is stopped.
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
    return true;
}

bool RestingReader::RestDescriptors(std::vector<int>& out) const {
    for (TJoystick& c : lists_.ActiveJoysticks) {
        if (!c.Acquired)
            continue;
        // A device that cannot signal would never wake the sleep: it keeps the pace.
        if (c.Notification < 0)
            return false;
        if (const TProfile* profile = lists_.ProfileOf(c); profile && ActsOnEngaged(c, *profile))
            return false;
        out.push_back(c.Notification);
    }
    return !out.empty();
}

void RestingReader::LeaveSleep() {
    asleep_ = false;
    StopWatching();
}

void RestingReader::StopWatching() {
    if (!watching_)
        return;
    watching_ = false;
    clock_.Unwatch();
}

} // namespace padwright
