#pragma once
// The data-collection cycle, action output and auto-repeat. Runs on the one user-interface
// thread; holds no state of its own beyond references to the lists and the outputs.
#include "engine/EngineHost.h"
#include "engine/Lists.h"
#include "platform/inject/Injector.h"
#include "platform/session/Session.h"

#include <cstdint>

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

class Engine {
public:
    Engine(TLists& lists, IInputInjector& injector, ISessionControl& session, IEngineHost& host)
        : lists_(lists), injector_(injector), session_(session), host_(host) {}

    // tmrDataCollectTimer: one run of the data-collection cycle.
    void CollectData();
    // tmrAutoRepeatTimer: counts down the repeat countdowns of every active controller's profile.
    void tmrAutoRepeatTimer();

    void EvaluateAxisPair(TControlMapping* pair, const TJoystick& controller, std::int32_t value);
    void EvaluateDigital(TControlMapping& mapping, const TJoystick& controller, std::int32_t value);

    void KeyOutput(TControlMapping& mapping, const TJoystick* controller, std::int32_t value);
    void MouseOutput(TControlMapping& mapping, std::int32_t threshold, std::int32_t value);
    void AppCommandOutput(TControlMapping& mapping, std::int32_t value);
    void PowerOutput(TControlMapping& mapping, std::int32_t value);

    // Evaluates a controller's mappings against `state` (used by the cycle, and with the neutral
    // state to release what a controller that drops out still holds).
    void EvaluateController(const TJoystick& controller, TProfile& profile,
                            const DIJOYSTATE2& state);

    static DIJOYSTATE2 NeutralState();

    // How many output calls (keys, mouse, app commands, power actions) have been made; a run
    // sent nothing when it leaves this unchanged.
    std::uint64_t OutputCount() const { return outputs_; }

private:
    void KeyEvent(std::uint8_t vk, bool up);
    void MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data);

    TLists& lists_;
    IInputInjector& injector_;
    ISessionControl& session_;
    IEngineHost& host_;
    std::uint64_t outputs_ = 0;
};

} // namespace padwright
