#include "Replay.h"

#include "engine/Catalogue.h"
#include "engine/Errors.h"
#include "store/ProfileOperations.h"

#include <cstdio>
#include <optional>

namespace padwright::replay {

Replay::Replay(std::ostream& out)
    : out_(out), host_(out, log_), engine_(lists_, injector_, session_, host_) {
    injector_.onCall = [this](const InjectedCall& call) {
        injector_.calls.clear(); // the printed line is the record
        out_ << FormatInjectedCall(call) << '\n';
        if (forward_)
            SendInjectedCall(call, *forward_);
    };
    session_.onCall = [this](const RecordingSession::Call& call) {
        session_.calls.clear();
        char line[64];
        std::snprintf(line, sizeof line, "ExitWindowsEx flags=%d reason=0x%08x",
                      static_cast<int>(call.flags), call.reason);
        out_ << line << '\n';
    };
}

void Replay::Execute(const Command& command) {
    std::visit([this](const auto& c) { Apply(c); }, command);
}

ScriptedDevice& Replay::DeviceOf(int controller) {
    if (controller < 1 || controller > static_cast<int>(devices_.size()))
        throw ScriptError("no controller " + std::to_string(controller));
    return *devices_[static_cast<std::size_t>(controller - 1)];
}

TProfile& Replay::ProfileAt(int profile) {
    if (profile < 1 || profile > lists_.Profiles.count())
        throw ScriptError("no profile " + std::to_string(profile));
    return lists_.Profiles[static_cast<std::size_t>(profile - 1)];
}

void Replay::Apply(const AddController& c) {
    auto device = std::make_shared<ScriptedDevice>();
    TJoystick& j = lists_.ActiveJoysticks.emplace_back();
    j.Name = "Controller " + std::to_string(devices_.size() + 1);
    j.JoystickID = static_cast<std::uint32_t>(devices_.size());
    j.Profile = c.profile;
    j.Threshold = c.threshold;
    j.RepeatKeys = c.repeatKeys;
    j.SliderCount = c.sliders;
    j.POVCount = c.hats;
    j.POVMax = c.povMax;
    j.ButtonCount = c.buttons;
    j.Acquired = c.acquired;
    j.Device = device;
    devices_.push_back(std::move(device));
}

void Replay::Apply(const SetState& s) {
    DIJOYSTATE2& state = DeviceOf(s.controller).state;
    LONG* axes[8] = {&state.lX,  &state.lY,  &state.lZ,           &state.lRx,
                     &state.lRy, &state.lRz, &state.rglSlider[0], &state.rglSlider[1]};
    for (std::size_t a = 0; a < 8; ++a)
        if (s.axes[a])
            *axes[a] = *s.axes[a];
    for (std::size_t h = 0; h < 4; ++h)
        if (s.hats[h])
            state.rgdwPOV[h] = *s.hats[h];
    if (s.buttonsDown) {
        for (BYTE& b : state.rgbButtons)
            b = 0;
        // A button the state record has no byte for is simply never down.
        for (int b : *s.buttonsDown)
            if (b <= static_cast<int>(sizeof state.rgbButtons))
                state.rgbButtons[b - 1] = 0x80;
    }
}

void Replay::Apply(const Fail& f) {
    ScriptedDevice& device = DeviceOf(f.controller);
    (f.poll ? device.pollResult : device.stateResult) = f.code;
}

void Replay::Apply(const Cycle& c) {
    // A log line that cannot be written ends only the run that was logging, as it ends one timer
    // event in the program; logging is off from then on, so at most one run fails.
    std::optional<Error> failure;
    for (int i = 0; i < c.count; ++i) {
        try {
            engine_.CollectData();
        } catch (const Error& e) {
            failure = e;
        }
    }
    if (failure)
        throw *failure;
}

void Replay::Apply(const Tick& t) {
    for (int i = 0; i < t.count; ++i)
        engine_.tmrAutoRepeatTimer();
}

void Replay::Apply(const Show& s) {
    if (s.slot >= SlotCount)
        throw ScriptError("no slot " + std::to_string(s.slot));
    const TControlMapping& m = ProfileAt(s.profile).Mappings[s.slot];
    out_ << "profile " << s.profile << " slot " << s.slot << " PressState=" << m.PressState
         << " RepeatCountdown=" << m.RepeatCountdown << '\n';
}

void Replay::Apply(const NewProfile& p) {
    // The program's Add, with its limit: a store saved afterwards is one the program can load.
    AddProfile(lists_, p.name);
}

void Replay::Apply(const Map& m) {
    if (m.slot >= SlotCount)
        throw ScriptError("no slot " + std::to_string(m.slot));
    TControlMapping& mapping = ProfileAt(m.profile).Mappings[m.slot];
    if (m.function != "NONE" && LookupFunction(m.function).Kind == fkNone)
        throw ScriptError("no function \"" + m.function + "\"");
    AssignFunction(mapping, m.function);
    mapping.Ctrl = m.ctrl;
    mapping.Alt = m.alt;
    mapping.Shift = m.shift;
    mapping.Win = m.win;
    mapping.RepeatRate = m.rate;
    mapping.AutoRepeat = m.rate != 0;
}

} // namespace padwright::replay
