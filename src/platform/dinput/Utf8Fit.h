#pragma once
#include <cstddef>
#include <string_view>

namespace padwright {

// Longest prefix of UTF-8 `text` that fits in `capacity` bytes without splitting a character.
inline std::size_t Utf8Fit(std::string_view text, std::size_t capacity) {
    if (text.size() <= capacity)
        return text.size();
    std::size_t n = capacity;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

} // namespace padwright
