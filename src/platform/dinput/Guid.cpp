#include "platform/dinput/DirectInput.h"

#include <cctype>
#include <cstdio>

namespace padwright {

std::string GuidToString(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                  g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                  g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

bool StringToGuid(const std::string& text, GUID& out) {
    // {8-4-4-4-12}
    static constexpr const char* Shape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != 38)
        return false;
    std::uint8_t bytes[16];
    int nibble = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Shape[i] != 'x') {
            if (text[i] != Shape[i])
                return false;
            continue;
        }
        const int d = HexDigit(text[i]);
        if (d < 0)
            return false;
        if (nibble % 2 == 0)
            bytes[nibble / 2] = static_cast<std::uint8_t>(d << 4);
        else
            bytes[nibble / 2] |= static_cast<std::uint8_t>(d);
        ++nibble;
    }
    out = GuidFromBytes(bytes);
    return true;
}

GUID GuidFromBytes(const std::uint8_t (&bytes)[16]) {
    GUID g;
    g.Data1 = (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) |
              (std::uint32_t(bytes[2]) << 8) | bytes[3];
    g.Data2 = static_cast<std::uint16_t>((bytes[4] << 8) | bytes[5]);
    g.Data3 = static_cast<std::uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        g.Data4[i] = bytes[8 + i];
    return g;
}

} // namespace padwright
