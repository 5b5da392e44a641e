#pragma once
// An engine with recording outputs, a fake host and scripted controllers.
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "engine/Errors.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/ScriptedDevice.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/inject/ScanCodes.h"
#include "platform/session/RecordingSession.h"

#include <memory>
#include <string>
#include <vector>

namespace padwright::test {

class FakeHost : public IControllerHost {
public:
    void PauseReading() override {
        reading = false;
        ++pauses;
        events.push_back("PauseReading");
    }
    void ResumeReading() override {
        reading = true;
        events.push_back("ResumeReading");
    }
    void TrayAnimationStep() override {
        ++traySteps;
        events.push_back("TrayAnimationStep");
    }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        logLines.push_back(std::string(prefix) + std::string(DirectInputErrorText(code)));
        events.push_back("log");
    }
    bool ReadingOn() const override { return reading; }
    bool reading = true;
    int pauses = 0;
    int traySteps = 0;
    std::vector<std::string> logLines;
    std::vector<std::string> events;
};

inline InjectedCall Key(std::uint8_t vk, bool up) {
    InjectedCall c{InjectedCall::Key};
    c.vk = vk;
    c.scan = static_cast<std::uint8_t>(VirtualKeyToScanCode(vk));
    c.flags = up ? KEYEVENTF_KEYUP : 0;
    return c;
}
inline InjectedCall Down(std::uint8_t vk) {
    return Key(vk, false);
}
inline InjectedCall Up(std::uint8_t vk) {
    return Key(vk, true);
}
inline InjectedCall Mouse(std::uint32_t flags, std::int32_t dx = 0, std::int32_t dy = 0,
                          std::int32_t data = 0) {
    InjectedCall c{InjectedCall::Mouse};
    c.flags = flags;
    c.dx = dx;
    c.dy = dy;
    c.data = data;
    return c;
}
inline InjectedCall AppCommand(std::uint32_t lParam) {
    InjectedCall c{InjectedCall::AppCommand};
    c.lParam = lParam;
    return c;
}

struct EngineRig {
    TLists lists;
    RecordingInjector injector;
    RecordingSession session;
    FakeHost host;
    Engine engine{lists, injector, session, host};
    std::vector<std::shared_ptr<ScriptedDevice>> devices;

    TProfile& AddProfile(std::string_view name = "Test") {
        return lists.Profiles.push_back(NewProfile(name));
    }
    TControlMapping& Slot(int slot, int profile = 1) {
        return lists.Profiles[static_cast<std::size_t>(profile - 1)].Mappings[slot];
    }
    // Maps a slot to a catalogue function; `rate` > 0 turns on the mapping's own repeat.
    TControlMapping& Map(int slot, std::string_view function, int rate = 0, int profile = 1) {
        TControlMapping& m = Slot(slot, profile);
        AssignFunction(m, function);
        m.RepeatRate = rate;
        m.AutoRepeat = rate != 0;
        return m;
    }

    // An acquired controller with 2 sliders, 2 hats (four-way, eight-way) and 128 buttons,
    // "Auto-repeat all keys" off.
    TJoystick& AddController(int profile = 1) {
        auto device = std::make_shared<ScriptedDevice>();
        devices.push_back(device);
        TJoystick& j = lists.ActiveJoysticks.emplace_back();
        j.Name = "Pad " + std::to_string(devices.size());
        j.Profile = profile;
        j.Threshold = 5;
        j.MaxVal = 10;
        j.RepeatKeys = false;
        j.Acquired = true;
        j.SliderCount = 2;
        j.POVCount = 2;
        j.POVMax = {3, 7, 0, 0};
        j.ButtonCount = MaxButtons;
        j.Device = device;
        return j;
    }
    ScriptedDevice& Device(int index = 0) { return *devices[static_cast<std::size_t>(index)]; }

    // Runs the cycle and returns the calls it injected.
    std::vector<InjectedCall> Cycle() {
        injector.calls.clear();
        engine.CollectData();
        return injector.calls;
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            engine.tmrAutoRepeatTimer();
    }
};

} // namespace padwright::test
