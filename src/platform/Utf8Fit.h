#pragma once
// Cutting UTF-8 text to a byte capacity, shared by the stored records and the controller API's
// fixed name buffers, and names in the form the settings keep them.
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

// A name as the settings reader takes a stored one: up to its first zero byte, without leading
// and trailing blanks and control characters, cut to `capacity` bytes at a character boundary
// (and trimmed again should the cut end in a blank). Kernels report names with trailing blanks
// ("USB Gamepad "), so a found controller's name is matched against a remembered one in this
// form.
inline std::string TrimmedName(std::string_view text, std::size_t capacity) {
    const auto trim = [](std::string_view t) {
        const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
        while (!t.empty() && blank(t.front()))
            t.remove_prefix(1);
        while (!t.empty() && blank(t.back()))
            t.remove_suffix(1);
        return t;
    };
    text = trim(text.substr(0, text.find('\0')));
    return std::string(trim(text.substr(0, Utf8FitLength(text, capacity))));
}

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0 when there is none
// (a stray continuation byte, a cut or overlong sequence, a surrogate, a code point past U+10FFFF).
inline std::size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

inline bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const std::size_t n = Utf8SequenceLength(text);
        if (n == 0)
            return false;
        text.remove_prefix(n);
    }
    return true;
}

// `text` with every byte that starts no well-formed sequence replaced by U+FFFD.
inline std::string Utf8Repaired(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t n = Utf8SequenceLength(text);
        out += n == 0 ? std::string_view("\xEF\xBF\xBD") : text.substr(0, n);
        text.remove_prefix(n == 0 ? 1 : n);
    }
    return out;
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
