#pragma once
// Text between our UTF-8 and the UTF-16 of the Windows W calls, so that no name passes through
// the ANSI code page.
#include <string>
#include <string_view>

#include <windows.h>

namespace padwright {

// Empty for text that is no UTF-8 (and for empty text): no name can be made of it.
inline std::wstring Wide(std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), n);
    return wide;
}

// A lone surrogate, which only a damaged name holds, becomes U+FFFD.
inline std::string Utf8(std::wstring_view text) {
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

} // namespace padwright
