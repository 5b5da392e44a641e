#pragma once
// Controller access over the in-memory kernel, with a host that keeps the log lines.
#include "FixtureHelpers.h"
#include "engine/Errors.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/InstanceGuid.h"

#include <functional>
#include <string>
#include <vector>

namespace padwright::testing {

class LoggingHost : public IControllerHost {
public:
    void PauseReading() override {
        switches.push_back("PauseReading");
        reading = false;
    }
    void ResumeReading() override {
        switches.push_back("ResumeReading");
        reading = true;
    }
    void TrayAnimationStep() override {}
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        lines.push_back(std::string(prefix) + std::string(DirectInputErrorText(code)));
    }
    bool ReadingOn() const override { return reading; }
    void ViewChanged() override {
        if (onViewChanged)
            onViewChanged();
    }
    void SelectionCleared() override {
        if (onSelectionCleared)
            onSelectionCleared();
    }
    void ReleaseHeld(TJoystick& controller) override {
        if (onReleaseHeld)
            onReleaseHeld(controller);
    }
    std::vector<std::string> lines;
    std::vector<std::string> switches;
    bool reading = false;
    std::function<void()> onViewChanged;
    std::function<void()> onSelectionCleared;
    std::function<void(TJoystick&)> onReleaseHeld;
};

struct ControllerRig {
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    std::shared_ptr<JoystickIdTable> ids = std::make_shared<JoystickIdTable>();
    TLists lists;
    LoggingHost host;
    ControllerAccess access{lists, host, [this](std::shared_ptr<IDirectInput8>& out) {
                                out = CreateFixtureDirectInput(kernel, ids);
                                return DI_OK;
                            }};
    int removeSelectionRuns = 0;

    ControllerRig() {
        access.JoystickIds = ids;
        host.onSelectionCleared = [this] {
            ++removeSelectionRuns;
            access.View.cmdRemoveDevice.Enabled = access.View.cmbDevices.HasSelection();
        };
    }

    int Plug(const std::string& fixture, bool withEvents = false) {
        return AddFixture(*kernel, fixture, withEvents);
    }
    // The user picks found item k and presses Add.
    void Add(int k) {
        access.View.cmbFoundDevices.ItemIndex = k;
        access.cmbFoundDevicesClick();
        access.cmdAddDeviceClick();
    }
    TJoystick& Active(int i) { return lists.ActiveJoysticks[static_cast<std::size_t>(i)]; }
    TJoystick& Found(int i) { return lists.FoundJoysticks[static_cast<std::size_t>(i)]; }
};

} // namespace padwright::testing
