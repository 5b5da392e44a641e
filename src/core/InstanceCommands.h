#pragma once
// What the commands for the running instance do (padwright --status, --profile): text in, text
// out, so that any way of delivering them (the session bus on Linux) shares one meaning.
#include "core/CommandLine.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace padwright {

class Core;

// One line per active controller, each field ended by a tab and the last by a line end: its
// list text, the name of the profile it uses ("" for none), "on" while it is being read (reading
// is on and it is open) or "off", and `inFront`, the program in front.
std::string StatusText(Core& core, const std::string& inFront);

// Puts every active controller, or the one whose joystick ID is `id`, on the first profile named
// `name`, as a command does: in place of their own choice, not saved. Returns "" when done, or
// why nothing changed.
std::string SwitchToProfileNamed(Core& core, const std::string& name,
                                 std::optional<std::uint32_t> id);

// What the running instance answers a request: `done` false when it refused, `text` then says why;
// for --status `text` is StatusText.
struct InstanceAnswer {
    bool done = true;
    std::string text;
};
// Carries out `request` as the core's commands do; `show` brings the window up.
InstanceAnswer AnswerRequest(Core& core, const InstanceRequest& request, const std::string& inFront,
                             const std::function<void()>& show);

} // namespace padwright
