#pragma once
// A complete evemu-describe file: every event type's code bits (not only what a controller
// reader looks at), so that a uinput device made from it matches the real one as closely as the
// kernel allows, plus the recorded events to replay.
#include <linux/input.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace padwright::vm {

struct EvemuEvent {
    std::uint16_t type = 0;
    std::uint16_t code = 0;
    std::int32_t value = 0;
};

struct EvemuFile {
    std::string name;
    std::uint16_t bus = 0, vendor = 0, product = 0, version = 0;
    std::bitset<INPUT_PROP_CNT> properties;
    // codes[type] holds the code bits of that event type; a type is present when any bit is.
    std::array<std::bitset<KEY_CNT>, EV_CNT> codes;
    std::array<input_absinfo, ABS_CNT> absinfo{};
    std::vector<EvemuEvent> events;
};

// Throws std::runtime_error naming the file and line when the text is not a description.
EvemuFile ReadEvemuFile(const std::filesystem::path& path);

} // namespace padwright::vm
