#pragma once
// A real controller's HID report descriptor with the ids to create it with, read from the
// corpus's `.hid` files (tests/fixtures/hid/README.md has the format).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace padwright::vm {

using Bytes = std::vector<std::uint8_t>;

struct HidDescription {
    std::string file; // base name, for messages
    std::string name;
    std::uint16_t bus = 0;
    std::uint32_t vendor = 0, product = 0, version = 0;
    std::string driver;
    std::string responder;
    std::map<std::uint8_t, Bytes> features; // report number -> reply
    Bytes input;
    std::string expectState;
    Bytes descriptor;
};

// Throws std::runtime_error naming the file and line on anything it cannot read.
HidDescription LoadHidFile(const std::string& path);

} // namespace padwright::vm
