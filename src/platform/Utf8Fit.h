#pragma once
// Cutting UTF-8 text to a byte capacity, shared by the stored records and the controller API's
// fixed name buffers.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace padwright {

// Longest prefix of `text` that fits in `capacity` bytes without splitting a UTF-8 sequence.
inline std::size_t Utf8FitLength(std::string_view text, std::size_t capacity) {
    if (text.size() <= capacity)
        return text.size();
    std::size_t n = capacity;
    // Step back over continuation bytes so the cut falls before a lead byte.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

inline std::string Utf8Cut(std::string_view text, std::size_t capacity) {
    return std::string(text.substr(0, Utf8FitLength(text, capacity)));
}

// Copies `text` into a fixed character buffer, cut to leave room for the terminating zero byte.
template <std::size_t N> void CopyUtf8Terminated(char (&out)[N], std::string_view text) {
    static_assert(N > 0, "the buffer needs room for the terminator");
    const std::size_t n = Utf8FitLength(text, N - 1);
    if (n != 0) // an empty view may carry no pointer at all
        std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

} // namespace padwright
