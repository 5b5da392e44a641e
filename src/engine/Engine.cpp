#include "engine/Engine.h"

#include "engine/Catalogue.h"
#include "engine/Engagement.h"
#include "engine/Rounding.h"
#include "engine/SlotWalk.h"

#include <array>

namespace padwright {

namespace {

constexpr std::uint8_t VK_SHIFT = 0x10;
constexpr std::uint8_t VK_CONTROL = 0x11;
constexpr std::uint8_t VK_MENU = 0x12;
constexpr std::uint8_t VK_RWIN = 0x5C;
constexpr std::uint32_t NoReason = 0xFFFFFFFF;

bool IsPowerCode(std::int32_t code) {
    return code == 0 || code == 1 || code == 2 || code == 8;
}

} // namespace

namespace {

// The periods of rates 1..30, worked out once: the state step reloads a countdown on every run
// of every held or released repeating mapping.
constexpr std::array<std::int32_t, 31> PeriodTable = [] {
    std::array<std::int32_t, 31> periods{};
    for (int rate = 1; rate <= 30; ++rate)
        periods[rate] = static_cast<std::int32_t>(DivRoundHalfEven(1000, rate));
    return periods;
}();

} // namespace

std::int32_t RepeatPeriod(std::int32_t repeatRate) {
    if (repeatRate < 1 || repeatRate > 30)
        return 0;
    return PeriodTable[static_cast<std::size_t>(repeatRate)];
}

namespace {

// The state step, kept inline: it runs for nearly every mapping on every run of the cycle.
[[gnu::always_inline]] inline TStepOutcome Step(TControlMapping& m, std::int32_t value,
                                                const TJoystick* controller) {
    const bool allKeysRepeat = controller != nullptr && controller->RepeatKeys;
    if (value != 0) {
        if (allKeysRepeat) {
            m.PressState = psRepeating;
            return soRepeat;
        }
        if (m.AutoRepeat) {
            if (m.PressState == psIdle) {
                m.PressState = psPressed;
                return soPress;
            }
            if (m.RepeatCountdown > 0)
                return soNone;
            if (m.PressState == psPressed) {
                m.RepeatCountdown = 0;
                m.PressState = psRepeating;
                return soRelease;
            }
            m.RepeatCountdown = RepeatPeriod(m.RepeatRate);
            return soRepeat;
        }
        if (m.PressState == psIdle) {
            m.PressState = psPressed;
            return soPress;
        }
        return soNone;
    }

    if (allKeysRepeat) {
        if (m.PressState == psRepeating) {
            m.PressState = psIdle;
            return soRelease;
        }
        return soNone;
    }
    if (m.AutoRepeat)
        m.RepeatCountdown = RepeatPeriod(m.RepeatRate);
    if (m.PressState == psPressed) {
        m.PressState = psIdle;
        // A key press was emitted as a whole stroke already; a mouse button still needs its up.
        return m.Kind == fkKey ? soNone : soRelease;
    }
    if (m.PressState == psRepeating) {
        m.PressState = psIdle;
        return soRelease;
    }
    return soNone;
}

} // namespace

TStepOutcome StepMapping(TControlMapping& m, std::int32_t value, const TJoystick* controller) {
    return Step(m, value, controller);
}

void TickRepeat(TControlMapping& m, std::int32_t step) {
    if (m.PressState != psPressed && m.PressState != psRepeating)
        return;
    if (m.RepeatCountdown < 0 || m.RepeatCountdown < step)
        m.RepeatCountdown = 0;
    else
        m.RepeatCountdown -= step;
}

namespace {

bool IsMoveCode(std::int32_t code) {
    return code == mfMoveXNeg || code == mfMoveXPos || code == mfMoveYNeg || code == mfMoveYPos;
}

// Axis and slider pairs put their "+" direction first; hats and buttons follow in slot order.
constexpr std::array<std::uint8_t, SlotCount> EvaluationOrder = [] {
    std::array<std::uint8_t, SlotCount> order{};
    for (int slot = 0; slot < SlotCount; ++slot)
        order[slot] = static_cast<std::uint8_t>(slot < FirstHatSlot ? slot ^ 1 : slot);
    return order;
}();

} // namespace

void TSlotReading::Offer(int slot, const TJoystick& controller, std::int32_t value) {
    const TJoystick* held = Source[slot];
    // On equal readings the controller without "Auto-repeat all keys" decides: its step lets go
    // of a key that either kind of controller pressed.
    if (held == nullptr || value > Value[slot] ||
        (value == Value[slot] && held->RepeatKeys && !controller.RepeatKeys)) {
        Value[slot] = value;
        Source[slot] = &controller;
    }
}

void Engine::CollectData() {
    host_.TrayAnimationStep();
    FindSharedProfiles();
    bool evaluated = false;
    for (int i = 0; i < lists_.ActiveJoysticks.count(); ++i) {
        TJoystick& controller = lists_.ActiveJoysticks[static_cast<std::size_t>(i)];
        if (!controller.Acquired || !controller.Device)
            continue;
        IDirectInputDevice8& device = *controller.Device;

        const HRESULT pollResult = device.Poll();
        if (pollResult != DI_OK && pollResult != DI_NOEFFECT) {
            host_.LogDirectInputError("Failed to poll device: ", pollResult);
            controller.Acquired = false;
            // It is not read again until reading restarts. This run does not count.
            ReleaseHeld(controller);
            continue;
        }

        DIJOYSTATE2 state;
        const HRESULT stateResult = device.GetDeviceState(sizeof state, &state);
        if (FAILED(stateResult)) {
            host_.LogDirectInputError("Failed to obtain the device state: ", stateResult);
            for (int attempt = 0; attempt < MaxReacquireAttempts; ++attempt)
                if (device.Acquire() != DIERR_INPUTLOST)
                    break;
            // No fresh reading: a neutral one releases held mappings instead of replaying
            // stale data.
            state = NeutralJoyState();
        }

        TProfile* profile = lists_.ProfileOf(controller);
        if (profile == nullptr) {
            controller.Engaged.reset();
            continue;
        }
        controller.Engaged = EngagedSlots(controller, state);
        evaluated = true;
        TSharedProfile* shared = SharedEntry(profile);
        if (shared == nullptr) {
            EvaluateController(controller, *profile, state);
            continue;
        }
        ReadSlots(shared->Reading, controller, *profile, state);
        shared->Pending = true;
        if (i == shared->Last) {
            shared->Pending = false;
            EvaluateReading(*profile, shared->Reading);
        }
    }
    // A profile whose last controller failed its poll still acts on what the others gave.
    for (TSharedProfile& shared : shared_)
        if (shared.Pending)
            EvaluateReading(*shared.Profile, shared.Reading);
    if (!evaluated)
        host_.PauseReading();
}

void Engine::FindSharedProfiles() {
    shared_.clear(); // keeps its storage: a run with the same sharing allocates nothing
    auto& controllers = lists_.ActiveJoysticks;
    for (int i = 0; i < controllers.count(); ++i) {
        const TJoystick& c = controllers[static_cast<std::size_t>(i)];
        TProfile* profile = c.Acquired && c.Device ? lists_.ProfileOf(c) : nullptr;
        if (profile == nullptr)
            continue;
        if (TSharedProfile* entry = SharedEntry(profile)) {
            entry->Last = i;
            continue;
        }
        for (int j = i + 1; j < controllers.count(); ++j) {
            const TJoystick& other = controllers[static_cast<std::size_t>(j)];
            if (other.Acquired && other.Device && other.ProfileInEffect() == c.ProfileInEffect()) {
                TSharedProfile& entry = shared_.emplace_back();
                entry.Profile = profile;
                entry.Last = j;
                entry.Pending = false;
                entry.Reading.Clear();
                break;
            }
        }
    }
}

Engine::TSharedProfile* Engine::SharedEntry(const TProfile* profile) {
    for (TSharedProfile& entry : shared_)
        if (entry.Profile == profile)
            return &entry;
    return nullptr;
}

void Engine::ReleaseHeld(TJoystick& controller) {
    TProfile* profile = lists_.ProfileOf(controller);
    controller.Engaged.reset();
    if (profile == nullptr)
        return;
    TSlotReading reading;
    reading.Clear();
    ReadSlots(reading, controller, *profile, NeutralJoyState());
    // What another controller still reading this profile engages stays down: that controller
    // lets go of it when it is released.
    for (const TJoystick& other : lists_.ActiveJoysticks) {
        if (&other == &controller || !other.Acquired ||
            other.ProfileInEffect() != controller.ProfileInEffect())
            continue;
        for (int slot = 0; slot < SlotCount; ++slot)
            if (other.Engaged.test(static_cast<std::size_t>(slot)))
                reading.Source[slot] = nullptr;
    }
    EvaluateReading(*profile, reading);
}

void Engine::EvaluateController(const TJoystick& controller, TProfile& profile,
                                const DIJOYSTATE2& state) {
    TSlotReading reading;
    reading.Clear();
    ReadSlots(reading, controller, profile, state);
    EvaluateReading(profile, reading);
}

void Engine::ReadSlots(TSlotReading& reading, const TJoystick& controller, const TProfile& profile,
                       const DIJOYSTATE2& state) {
    const std::int32_t threshold = controller.Threshold;
    ForEachEvaluatedSlot(controller, [&](const TSlotControl& control) {
        std::int32_t value = ControlReading(state, control);
        // A pointer move acts on the whole deflection; every other output on what reaches the
        // threshold.
        if (control.IsAxisDirection() && !AxisDirectionEngaged(value, threshold)) {
            const TControlMapping& m = profile.Mappings[control.Slot];
            if (m.Kind != fkMouse || !IsMoveCode(m.Code))
                value = 0;
        }
        reading.Offer(control.Slot, controller, value);
    });
}

void Engine::EvaluateReading(TProfile& profile, const TSlotReading& reading) {
    for (const int slot : EvaluationOrder)
        if (const TJoystick* source = reading.Source[slot])
            EvaluateSlot(profile.Mappings[slot], *source, reading.Value[slot]);
}

void Engine::EvaluateSlot(TControlMapping& m, const TJoystick& controller, std::int32_t value) {
    switch (m.Kind) {
    case fkKey:
        KeyOutput(m, &controller, value);
        break;
    case fkAppCommand:
        AppCommandOutput(m, value);
        break;
    case fkMouse:
        MouseOutput(m, -1, value);
        break;
    case fkPower:
        if (IsPowerCode(m.Code))
            PowerOutput(m, value);
        break;
    default:
        break;
    }
}

void Engine::KeyEvent(std::uint8_t vk, bool up) {
    const auto scan = static_cast<std::uint8_t>(injector_.MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    ++outputs_;
    injector_.keybd_event(vk, scan, up ? KEYEVENTF_KEYUP : 0, 0);
}

void Engine::MouseEvent(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data) {
    ++outputs_;
    injector_.mouse_event(flags, dx, dy, data, 0);
}

void Engine::KeyOutput(TControlMapping& m, const TJoystick* controller, std::int32_t value) {
    const TStepOutcome outcome = Step(m, value, controller);
    if (outcome == soNone)
        return;
    const auto vk = static_cast<std::uint8_t>(m.Code & 0xFF);
    if (outcome != soRelease) {
        if (m.Ctrl)
            KeyEvent(VK_CONTROL, false);
        if (m.Alt)
            KeyEvent(VK_MENU, false);
        if (m.Shift)
            KeyEvent(VK_SHIFT, false);
        if (m.Win)
            KeyEvent(VK_RWIN, false);
        KeyEvent(vk, false);
        if (outcome == soRepeat)
            return;
    }
    // Released in the reverse order of pressing.
    KeyEvent(vk, true);
    if (m.Win)
        KeyEvent(VK_RWIN, true);
    if (m.Shift)
        KeyEvent(VK_SHIFT, true);
    if (m.Alt)
        KeyEvent(VK_MENU, true);
    if (m.Ctrl)
        KeyEvent(VK_CONTROL, true);
}

void Engine::MouseOutput(TControlMapping& m, std::int32_t threshold, std::int32_t value) {
    switch (m.Code) {
    case mfMoveXNeg:
    case mfMoveXPos:
    case mfMoveYNeg:
    case mfMoveYPos: {
        if (value == 0)
            return;
        const std::int32_t dx = m.Code == mfMoveXNeg ? -value : m.Code == mfMoveXPos ? value : 0;
        const std::int32_t dy = m.Code == mfMoveYNeg ? -value : m.Code == mfMoveYPos ? value : 0;
        MouseEvent(MOUSEEVENTF_MOVE, dx, dy, 0);
        return;
    }
    default:
        break;
    }

    if (threshold > value)
        value = 0;

    std::uint32_t down = 0, up = 0;
    switch (m.Code) {
    case mfLeftClick:
        down = MOUSEEVENTF_LEFTDOWN;
        up = MOUSEEVENTF_LEFTUP;
        break;
    case mfRightClick:
        down = MOUSEEVENTF_RIGHTDOWN;
        up = MOUSEEVENTF_RIGHTUP;
        break;
    case mfMiddleClick:
        down = MOUSEEVENTF_MIDDLEDOWN;
        up = MOUSEEVENTF_MIDDLEUP;
        break;
    case mfWheelForward:
    case mfWheelBack: {
        const TStepOutcome outcome = Step(m, value, nullptr);
        if (outcome == soPress || outcome == soRepeat)
            MouseEvent(MOUSEEVENTF_WHEEL, 0, 0, m.Code == mfWheelForward ? -120 : 120);
        return;
    }
    default:
        return;
    }

    switch (Step(m, value, nullptr)) {
    case soPress:
        MouseEvent(down, 0, 0, 0);
        break;
    case soRepeat:
        MouseEvent(down, 0, 0, 0);
        MouseEvent(up, 0, 0, 0);
        break;
    case soRelease:
        MouseEvent(up, 0, 0, 0);
        break;
    case soNone:
        break;
    }
}

void Engine::AppCommandOutput(TControlMapping& m, std::int32_t value) {
    const TStepOutcome outcome = Step(m, value, nullptr);
    if (outcome != soPress && outcome != soRepeat)
        return;
    ++outputs_;
    injector_.SendAppCommand(static_cast<std::uint32_t>(m.Code) << 16);
}

void Engine::PowerOutput(TControlMapping& m, std::int32_t value) {
    const TStepOutcome outcome = Step(m, value, nullptr);
    if (outcome != soPress && outcome != soRepeat)
        return;
    session_.EnableShutdownPrivilege(); // a failure still lets the request go out
    ++outputs_;
    session_.ExitWindowsEx(static_cast<std::uint32_t>(m.Code), NoReason);
}

void Engine::tmrAutoRepeatTimer() {
    auto& controllers = lists_.ActiveJoysticks;
    const auto at = [&](int i) -> TJoystick& { return controllers[static_cast<std::size_t>(i)]; };
    for (int i = 0; i < controllers.count(); ++i) {
        TProfile* profile = lists_.ProfileOf(at(i));
        if (profile == nullptr)
            continue;
        // A profile several controllers use is one set of mappings, repeating at their own
        // rates: each is counted down once, if any of them has its slot, when the profile's
        // first controller comes.
        bool counted = false;
        for (int j = 0; j < i && !counted; ++j)
            counted = lists_.ProfileOf(at(j)) == profile;
        if (counted)
            continue;
        SlotSet slots;
        for (int j = i; j < controllers.count(); ++j)
            if (lists_.ProfileOf(at(j)) == profile)
                slots |= EvaluatedSlots(at(j));
        for (int slot = 0; slot < SlotCount; ++slot)
            if (slots.test(static_cast<std::size_t>(slot)))
                TickRepeat(profile->Mappings[slot], AutoRepeatInterval);
    }
}

} // namespace padwright
