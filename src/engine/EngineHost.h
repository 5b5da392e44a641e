#pragma once
// What the engine needs from the program around it. The core implements it; tests fake it.
#include "platform/dinput/DirectInput.h"

#include <string_view>

namespace padwright {

class IEngineHost {
public:
    virtual ~IEngineHost() = default;
    // The reading switch: both engine timers off (data collection, then auto-repeat), the tray
    // menu offering "Start Reading Data", the still tray icon.
    virtual void PauseReading() = 0;
    // Tray menu offering "Stop Reading Data"; auto-repeat timer on, then data collection.
    virtual void ResumeReading() = 0;
    // The first step of every data-collection run: advance the tray animation unless its own
    // timer is still running.
    virtual void TrayAnimationStep() = 0;
    // One log line, prefix + the code's text, when logging is on. May throw Error when the line
    // cannot be written; the run that was logging ends there.
    virtual void LogDirectInputError(std::string_view prefix, HRESULT code) = 0;
    // Whether reading is on: the one answer every part of the program follows.
    virtual bool ReadingOn() const = 0;
};

} // namespace padwright
