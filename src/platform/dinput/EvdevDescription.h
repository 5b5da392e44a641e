#pragma once
// What the kernel tells about one evdev node: identity, capability bits and axis ranges. Both
// the kernel reader and the device-description parser produce it, and everything that decides
// what a controller looks like works on it alone.
#include <linux/input-event-codes.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace padwright {

struct AbsRange {
    std::int32_t value = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t fuzz = 0;
    std::int32_t flat = 0;
    std::int32_t resolution = 0;
};

struct EvdevDescription {
    std::string name;
    std::uint16_t bus = 0, vendor = 0, product = 0, version = 0;
    std::string uniq; // serial number, often empty
    std::string phys; // physical path (port), used when there is no serial
    std::bitset<INPUT_PROP_CNT> properties;
    std::bitset<EV_CNT> types;
    std::bitset<KEY_CNT> keys;
    std::bitset<ABS_CNT> abs;
    std::bitset<REL_CNT> rel;
    std::array<AbsRange, ABS_CNT> absinfo{};
    std::bitset<KEY_CNT> keysDown; // key state at the time of description

    bool HasKey(unsigned code) const { return code < KEY_CNT && keys.test(code); }
    bool HasAbs(unsigned code) const { return code < ABS_CNT && abs.test(code); }
    bool HasRel(unsigned code) const { return code < REL_CNT && rel.test(code); }
    bool HasProperty(unsigned prop) const { return prop < INPUT_PROP_CNT && properties.test(prop); }
};

// One input event as the kernel delivers it, without the time stamp.
struct EvdevEvent {
    std::uint16_t type = 0;
    std::uint16_t code = 0;
    std::int32_t value = 0;
};

} // namespace padwright
