#include "HidDescription.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <linux/input.h>

namespace padwright::vm {

namespace {

Bytes ParseHex(const std::string& text, const std::string& where) {
    Bytes out;
    std::istringstream in(text);
    std::string byte;
    while (in >> byte) {
        std::size_t used = 0;
        const unsigned long value = std::stoul(byte, &used, 16);
        if (used != byte.size() || byte.size() > 2 || value > 0xFF)
            throw std::runtime_error(where + ": not a hex byte: " + byte);
        out.push_back(static_cast<std::uint8_t>(value));
    }
    return out;
}

std::uint32_t ParseId(const std::string& text, const std::string& where) {
    std::size_t used = 0;
    const unsigned long value = std::stoul(text, &used, 16);
    if (used != text.size() || value > 0xFFFFFFFF)
        throw std::runtime_error(where + ": not a hex id: " + text);
    return static_cast<std::uint32_t>(value);
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

HidDescription LoadHidFile(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(path + ": cannot be read");
    HidDescription d;
    d.file = path.substr(path.find_last_of('/') + 1);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string where = d.file + ":" + std::to_string(number);
        if (line.empty() || line[0] == '#')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            throw std::runtime_error(where + ": no field name");
        const std::string key = line.substr(0, colon);
        const std::string value = Trim(line.substr(colon + 1));
        if (key == "name")
            d.name = value;
        else if (key == "bus")
            d.bus = value == "usb" ? BUS_USB : value == "bluetooth" ? BUS_BLUETOOTH : 0;
        else if (key == "vendor")
            d.vendor = ParseId(value, where);
        else if (key == "product")
            d.product = ParseId(value, where);
        else if (key == "version")
            d.version = ParseId(value, where);
        else if (key == "driver")
            d.driver = value;
        else if (key == "responder")
            d.responder = value;
        else if (key.rfind("feature ", 0) == 0)
            d.features[static_cast<std::uint8_t>(ParseId(key.substr(8), where))] =
                ParseHex(value, where);
        else if (key == "input")
            d.input = ParseHex(value, where);
        else if (key == "expect-state")
            d.expectState = "state " + value;
        else if (key == "rdesc") {
            const Bytes more = ParseHex(value, where);
            d.descriptor.insert(d.descriptor.end(), more.begin(), more.end());
        } else if (key != "source")
            throw std::runtime_error(where + ": unknown field " + key);
    }
    if (d.name.empty() || d.bus == 0 || d.descriptor.empty())
        throw std::runtime_error(d.file + ": name, bus and rdesc are needed");
    return d;
}

} // namespace padwright::vm
