#pragma once
// Turning what a desktop says about a window into a ForegroundProgram: the executable's name
// from the process id where one is given, and whether the window is one of Padwright's own.
#include "platform/focus/ForegroundProgram.h"

#include <cstdint>
#include <string>
#include <vector>

namespace padwright {

struct WindowFacts {
    std::string wmClass, wmInstance, appId;
    std::int64_t pid = 0; // 0 when not given
};

// The name our windows carry: Qt's WM_CLASS instance and class and the Wayland app_id come from
// the program and desktop file name "padwright".
inline constexpr const char* OwnProgramName = "padwright";

ForegroundProgram IdentifyProgram(const WindowFacts& window);

// The file name of the process's executable (/proc/PID/exe), or its command name when the link
// cannot be read (another user's process); "" when the process is gone or pid is 0.
std::string ExecutableName(std::int64_t pid);

// One entry per program, in first-seen order, without Padwright's own and without windows that
// name no program.
std::vector<ForegroundProgram> DistinctPrograms(const std::vector<WindowFacts>& windows);

} // namespace padwright
