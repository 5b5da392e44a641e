#pragma once
// UTF-8 text to and from std::filesystem paths. A path made from a plain std::string is read in
// the C library's locale, which on Windows is not UTF-8, so names with accents would change.
#include <filesystem>
#include <string>
#include <string_view>

namespace padwright {

inline std::filesystem::path PathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string TextOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace padwright
