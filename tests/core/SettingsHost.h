#pragma once
// The settings' host for tests: the timer interval and the reading switch, with every pause and
// resume recorded.
#include "core/Settings.h"

#include <string>
#include <vector>

namespace padwright::test {

struct FakeSettingsHost : ISettingsHost, IControllerHost {
    std::uint32_t interval = 5;
    bool reading = false;
    std::vector<std::string> calls;
    void PauseReading() override {
        calls.push_back("PauseReading");
        reading = false;
    }
    void ResumeReading() override {
        calls.push_back("ResumeReading");
        reading = true;
    }
    void TrayAnimationStep() override {}
    void LogDirectInputError(std::string_view, HRESULT) override {}
    std::uint32_t TimeInterval() const override { return interval; }
    void SetTimeInterval(std::uint32_t ms) override { interval = ms; }
    bool ReadingOn() const override { return reading; }
};

} // namespace padwright::test
