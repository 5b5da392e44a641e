#pragma once
// The replay script language: one command per line, '#' starts a comment.
#include "platform/dinput/DirectInput.h"

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace padwright::replay {

// A line that cannot be parsed or applied; the message names what is wrong, not the line.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct AddController {
    std::int32_t profile = 0;
    std::int32_t threshold = 5;
    bool repeatKeys = true;
    std::int32_t sliders = 0;
    std::int32_t hats = 0;
    std::array<std::int32_t, 4> povMax{};
    std::int32_t buttons = 0;
    bool acquired = true;
};

// Only the values the line names; the rest keep their last setting.
struct SetState {
    int controller = 0;                          // 1-based
    std::array<std::optional<LONG>, 8> axes;     // x y z rx ry rz slider1 slider2
    std::array<std::optional<DWORD>, 4> hats;    // hat1..hat4
    std::optional<std::vector<int>> buttonsDown; // 1-based
};

struct Fail {
    int controller = 0; // 1-based
    bool poll = true;   // else GetDeviceState
    HRESULT code = DI_OK;
};

struct Cycle {
    int count = 1;
};
struct Tick {
    int count = 1;
};
struct Show {
    int profile = 0; // 1-based
    int slot = 0;
};
// A new empty profile after the loaded ones.
struct NewProfile {
    std::string name;
};
// Gives a slot a catalogue function ("NONE" clears it).
struct Map {
    int profile = 0;
    int slot = 0;
    std::string function;
    bool ctrl = false, alt = false, shift = false, win = false;
    std::int32_t rate = 0;
};

using Command =
    std::variant<std::monostate, AddController, SetState, Fail, Cycle, Tick, Show, NewProfile, Map>;

// Parses one line; an empty or comment-only line gives std::monostate. Throws ScriptError.
Command ParseLine(std::string_view line);

} // namespace padwright::replay
