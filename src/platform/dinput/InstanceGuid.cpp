#include "platform/dinput/InstanceGuid.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace padwright {

namespace {

std::uint64_t Fnv1a(const std::string& bytes, std::uint64_t basis) {
    std::uint64_t hash = basis;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001B3ULL;
    }
    return hash;
}

void PutBigEndian(std::uint8_t* out, std::uint64_t value) {
    for (int i = 7; i >= 0; --i) {
        out[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

} // namespace

GUID InstanceGuid(const EvdevDescription& d) {
    // Fixed field order and widths, so the key (and the GUID) never depends on the platform.
    char ids[32];
    std::snprintf(ids, sizeof ids, "%04x:%04x:%04x:%04x:", d.bus, d.vendor, d.product, d.version);
    const std::string key =
        std::string(ids) + (d.uniq.empty() ? "phys:" + d.phys : "uniq:" + d.uniq);
    std::uint8_t bytes[16];
    PutBigEndian(bytes, Fnv1a(key, 0xCBF29CE484222325ULL));
    PutBigEndian(bytes + 8, Fnv1a(key, 0x84222325CBF29CE4ULL));
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x80); // version 8: custom
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return GuidFromBytes(bytes);
}

GUID ProductGuid(const EvdevDescription& d) {
    return {(std::uint32_t(d.product) << 16) | d.vendor,
            0x0000,
            0x0000,
            {0x00, 0x00, 0x50, 0x49, 0x44, 0x56, 0x49, 0x44}};
}

} // namespace padwright
