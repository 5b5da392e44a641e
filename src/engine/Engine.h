#pragma once
// The data-collection cycle, action output and auto-repeat. Runs on the one user-interface
// thread; holds no state of its own beyond references to the lists and the outputs, and a
// scratch for the readings of shared profiles that is reused from run to run.
#include "engine/EngineHost.h"
#include "engine/Lists.h"
#include "platform/inject/Injector.h"
#include "platform/session/Session.h"

#include <array>
#include <cstdint>
#include <vector>

namespace padwright {

// What the state step tells an output to emit.
enum TStepOutcome : std::int32_t { soNone = -1, soRelease = 0, soPress = 1, soRepeat = 2 };

constexpr int AutoRepeatInterval = 30; // ms, the interval of tmrAutoRepeat
constexpr int MaxReacquireAttempts = 10;

// The repeat period P of a rate: round-half-to-even(1000 / rate) ms for 1..30, else 0.
std::int32_t RepeatPeriod(std::int32_t repeatRate);

// The state step of one mapping; `controller` is null for outputs that ignore RepeatKeys.
TStepOutcome StepMapping(TControlMapping& mapping, std::int32_t value, const TJoystick* controller);

// Counts one mapping's repeat countdown down by `step` ms.
void TickRepeat(TControlMapping& mapping, std::int32_t step);

// One run's reading of a profile's slots: per slot, the value its output acts on (an axis
// direction already cut below the threshold, except for pointer moves) and the controller that
// gave it, null for a slot no controller evaluates. Several controllers on one profile offer
// their values to one reading; the strongest stays.
struct TSlotReading {
    std::array<std::int32_t, SlotCount> Value;
    std::array<const TJoystick*, SlotCount> Source;

    void Clear() { Source.fill(nullptr); }
    void Offer(int slot, const TJoystick& controller, std::int32_t value);
};

class Engine {
public:
    Engine(TLists& lists, IInputInjector& injector, ISessionControl& session, IEngineHost& host)
        : lists_(lists), injector_(injector), session_(session), host_(host) {}

    // tmrDataCollectTimer: one run of the data-collection cycle.
    void CollectData();
    // tmrAutoRepeatTimer: counts down the repeat countdowns of every active controller's profile.
    void tmrAutoRepeatTimer();

    // One slot's output step; `controller`'s RepeatKeys decides for a key.
    void EvaluateSlot(TControlMapping& mapping, const TJoystick& controller, std::int32_t value);

    void KeyOutput(TControlMapping& mapping, const TJoystick* controller, std::int32_t value);
    void MouseOutput(TControlMapping& mapping, std::int32_t threshold, std::int32_t value);
    void AppCommandOutput(TControlMapping& mapping, std::int32_t value);
    void PowerOutput(TControlMapping& mapping, std::int32_t value);

    // Evaluates a controller's mappings against `state`.
    void EvaluateController(const TJoystick& controller, TProfile& profile,
                            const DIJOYSTATE2& state);
    // Offers what `state` gives each slot `controller` evaluates in `profile` to `reading`.
    static void ReadSlots(TSlotReading& reading, const TJoystick& controller,
                          const TProfile& profile, const DIJOYSTATE2& state);
    // Runs the output step of every slot `reading` has a value for, in the cycle's order.
    void EvaluateReading(TProfile& profile, const TSlotReading& reading);

    // Lets go of whatever `controller`'s mappings hold down, through the normal release path (its
    // profile evaluated against a neutral reading), so press states and countdowns stay
    // consistent; what another acquired controller on the same profile engages stays down, for
    // that one to release. Clears the controller's Engaged. Every path after which its mappings
    // are no longer evaluated runs it first:
    // its reading stops (Stop, Remove, unplug, a failed poll, exit) or it moves to another
    // profile (a profile choice, its profile deleted). A pause that keeps the profile must not,
    // or a control still held would be pressed again at resume.
    void ReleaseHeld(TJoystick& controller);

    // How many output calls (keys, mouse, app commands, power actions) have been made; a run
    // sent nothing when it leaves this unchanged.
    std::uint64_t OutputCount() const { return outputs_; }

private:
    void KeyEvent(std::uint8_t vk, bool up);
    void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data);

    // A profile that several controllers read in this run, evaluated once its last one is read.
    struct TSharedProfile {
        TProfile* Profile;
        int Last;
        bool Pending;
        TSlotReading Reading;
    };
    void FindSharedProfiles();
    TSharedProfile* SharedEntry(const TProfile* profile);
    std::vector<TSharedProfile> shared_;

    TLists& lists_;
    IInputInjector& injector_;
    ISessionControl& session_;
    IEngineHost& host_;
    std::uint64_t outputs_ = 0;
};

} // namespace padwright
