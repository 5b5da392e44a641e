#include "ui/common/DialogTexts.h"

namespace padwright {

std::string TrimName(std::string_view text) {
    auto trimmed = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && trimmed(text[begin]))
        ++begin;
    while (end > begin && trimmed(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string ErrorBoxText(std::string_view message) {
    // A byte of a character beyond ASCII sorts after the full stop too, as the character does.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return std::string(message) + '.';
    return std::string(message);
}

} // namespace padwright
