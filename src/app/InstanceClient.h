#pragma once
// padwright --status, --profile, --start, --stop, --show: the command is sent to the running
// instance over the session bus, and what it answers is printed.
#include "core/CommandLine.h"

#include <optional>

namespace padwright {

// The exit code: 0 once the instance has carried the command out, 1 when none runs, the session
// bus cannot be reached or the instance refused (why is printed on standard error). Nothing for
// Show without a running instance: the program is to start instead. Needs a QCoreApplication.
std::optional<int> SendToRunningInstance(const InstanceRequest& request);

} // namespace padwright
